// 仓库资料: the two pages, one head warehouse kept in the same transaction as
// the save, codes another warehouse has refused, the region tree reloaded
// after its editing form.
#include <QAction>
#include <QTabWidget>
#include <QToolButton>

#include "codes/frm_house.h"
#include "dbcontrols.h"
#include "treelookup.h"
#include "warehousesfixture.h"

using namespace md::test;

namespace {

using House = WarehouseTest;

QString flags(DbShorthands& db) {
    return db.rows("select fcode,strat_bit from dt_house order by fcode").join(' ');
}

TEST_F(House, AHeadWarehouseSavedClearsTheFlagOnAllOthersAndAnOrdinaryOneLeavesThem) {
    auto* f = openShown<Tfrm_house>();
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabList);
    f->append_action->trigger();
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabDetail);
    ASSERT_TRUE(f->CodeEditor->hasFocus());
    type("CK09");
    pressEnter();  // on the detail page Enter moves on
    ASSERT_TRUE(f->NameEditor->hasFocus());
    type("新总仓");
    f->HeadCheck->click();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(flags(db), "CK01|0 CK02|0 CK03|0 CK09|1");
    EXPECT_EQ(db.scalar("select fid from dt_house where fcode='CK09'").toString().size(), 12);
    EXPECT_EQ(column(f->DBmaster_table, "strat_bit").count("1"), 1) << "the list shows it too";

    ASSERT_TRUE(f->DBmaster_table->Locate("fcode", "CK01"));
    f->edit_action->trigger();
    f->NameEditor->setFocus();
    type("二");
    f->post_action->trigger();
    EXPECT_EQ(flags(db), "CK01|0 CK02|0 CK03|0 CK09|1");
    EXPECT_EQ(rows("select fname from dt_house where fcode='CK01'"), QStringList{"杭州配送仓二"});
}

TEST_F(House, ACodeAnotherWarehouseHasIsRefusedOnLeavingTheEditorAndOnSaving) {
    auto* f = openShown<Tfrm_house>();
    f->append_action->trigger();
    type("CK02");
    pressEnter();
    EXPECT_EQ(script.texts(), QStringList{"此仓库编号已存在，请重新录入！"});
    EXPECT_EQ(field(f->DBmaster_table, "fcode"), "");
    EXPECT_TRUE(f->CodeEditor->hasFocus()) << "back to be typed again";

    // Saved without leaving the editor: the empty checks first, then the code.
    script.clear();
    f->post_action->trigger();
    type("CK08");
    f->post_action->trigger();
    f->NameEditor->setFocus();
    type("仓");
    f->CodeEditor->setFocus();
    f->CodeEditor->selectAll();
    type("CK03");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), (QStringList{"仓库编号不能为空！", "仓库名称不能为空！",
                                           "此仓库编号已存在，请重新录入！"}));
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);

    // A saved warehouse keeps its own code but may not take another's.
    f->cacel_action->trigger();
    ASSERT_TRUE(f->DBmaster_table->Locate("fcode", "CK01"));
    f->edit_action->trigger();
    script.clear();
    f->CodeEditor->setFocus();
    pressEnter();
    f->CodeEditor->setFocus();
    f->CodeEditor->selectAll();
    type("CK03");
    pressEnter();
    EXPECT_EQ(script.texts(), QStringList{"此仓库编号已存在，请重新录入！"});
    EXPECT_EQ(field(f->DBmaster_table, "fcode"), "CK01");
    f->post_action->trigger();
    EXPECT_EQ(rows("select fcode from dt_house order by fcode"),
              (QStringList{"CK01", "CK02", "CK03"}));
}

TEST_F(House, AFailedSaveKeepsTheRecordBeingEditedAndEveryFlag) {
    auto* f = openShown<Tfrm_house>();
    f->append_action->trigger();
    type("CK09");
    f->DBmaster_table->FieldByName("fname").SetAsString("仓");
    f->DBmaster_table->FieldByName("remark").SetAsString(QString(201, 'x'));  // beyond its column
    f->HeadCheck->click();
    f->post_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_EQ(flags(db), "CK01|0 CK02|1 CK03|0");
    EXPECT_EQ(f->DBmaster_table->State(), dsEdit) << "to be corrected and saved again";

    script.clear();
    f->DBmaster_table->FieldByName("remark").SetAsString("ok");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(flags(db), "CK01|0 CK02|0 CK03|0 CK09|1");
}

TEST_F(House, TheListOpensTheDetailPageAndTheRegionButtonReloadsTheRegionTree) {
    auto* f = openShown<Tfrm_house>();
    TDBTableView* v = f->GridListView;
    EXPECT_EQ(v->SummaryText(*v->Column("fcode")), "记录数：3");
    Q_EMIT v->doubleClicked(v->gridModel()->index(1, 0));
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabDetail);
    EXPECT_EQ(f->AreaLookup->currentText(), "浙江");

    QString caption;
    script.onDialog([&](QDialog& dialog) {
        caption = dialog.windowTitle();
        db.exec("insert into ba_Area(fCode,fparentcode,fName) values('0102','01','江苏')");
        return int(QDialog::Accepted);
    });
    f->But_Area->click();
    EXPECT_EQ(caption, "地区资料");
    const QAbstractItemModel* tree = f->AreaLookup->model();
    EXPECT_EQ(tree->match(tree->index(0, 0), Qt::DisplayRole, "江苏", 1,
                          Qt::MatchExactly | Qt::MatchRecursive)
                  .size(),
              1);
    EXPECT_EQ(f->AreaLookup->currentText(), "浙江") << "the record's region stays shown";
}

}  // namespace
