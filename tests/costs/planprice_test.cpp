// 货品参考成本价: the list with its search, the auto-fill, the discount fill,
// goods codes typed and picked, and rows found again by GoodsNo when saved.
#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>

#include "costsfixture.h"
#include "prices/frm_PlanCac.h"
#include "prices/frm_planprice.h"
#include "selectgoods.h"

namespace md::test {
namespace {

class PlanPrice : public CostsTest {
  protected:
    Tfrm_planprice* openList() { return openShown<Tfrm_planprice>(); }
    QStringList stored() {
        return rows(
            QStringLiteral("select fgoodsid,planprice,goodsno from planprice order by fgoodsid"));
    }
};

TEST_F(PlanPrice, SearchesByCodeAndAutoFillAddsEveryGoodsItemWithoutACost) {
    Tfrm_planprice* form = openList();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("货品参考成本价"));
    EXPECT_EQ(sorted(pairs(form->DBmaster_table, "goodsname")),
              QStringList({QStringLiteral("G001=圆领T恤"), QStringLiteral("G002=休闲裤")}));
    QTest::keyClicks(form->Edit_goodsid, QStringLiteral("002"));
    QTest::keyClick(form->Edit_goodsid, Qt::Key_Return);
    EXPECT_EQ(pairs(form->DBmaster_table, "planprice"), QStringList({QStringLiteral("G002=120")}));

    form->find_action->trigger();  // 自动检索, within the search as it stands
    EXPECT_EQ(form->find_action->text(), QStringLiteral("自动检索"));
    EXPECT_EQ(pairs(form->DBmaster_table, "planprice"), QStringList({QStringLiteral("G002=120")}));
    EXPECT_EQ(stored(), QStringList({QStringLiteral("G001|0|N1"), QStringLiteral("G002|120|N2"),
                                     QStringLiteral("G003|0|N3"), QStringLiteral("G004|0|N4"),
                                     QStringLiteral("G005|0|N5")}));
    form->find_action->trigger();
    EXPECT_EQ(db.count(QStringLiteral("planprice")), 5) << "a second run adds nothing";
    form->Edit_goodsid->clear();
    form->But_Find->click();
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 5);
}

TEST_F(PlanPrice, DiscountFillCostsOnlyGoodsWithoutACostAndSendsNothingBeforeSave) {
    db.exec(QStringLiteral("insert into planprice(fgoodsid,goodsno) values('G003','N3')"));
    Tfrm_planprice* form = openList();
    form->Edit_discount->setValue(0.55);
    form->But_Cac->click();  // not editing: nothing happens
    EXPECT_FALSE(form->StatusBar1->isEnabled());
    EXPECT_EQ(stored().value(0), QStringLiteral("G001|0|N1"));

    form->edit_action->trigger();
    EXPECT_TRUE(form->StatusBar1->isEnabled());
    form->But_Cac->click();
    EXPECT_EQ(sorted(pairs(form->DBmaster_table, "planprice")),
              QStringList({QStringLiteral("G001=110"), QStringLiteral("G002=120"),
                           QStringLiteral("G003=55")}))
        << "tag 200 and 100 at 0.55; the cost of 120 stays; an empty cost counts as 0";
    EXPECT_EQ(stored().value(0), QStringLiteral("G001|0|N1"));
    EXPECT_TRUE(form->post_action->isEnabled()) << "the list stays in editing";
    form->post_action->trigger();
    EXPECT_EQ(stored(), QStringList({QStringLiteral("G001|110|N1"), QStringLiteral("G002|120|N2"),
                                     QStringLiteral("G003|55|N3")}));
}

TEST_F(PlanPrice, TypedCodeIsCheckedFilledAndItsRowFoundAgainByGoodsNo) {
    Tfrm_planprice* form = openList();
    TDBTableView* v = form->cxGrid1DBTableView1;
    form->append_action->trigger();
    const int row = form->DBmaster_table->RecNo() - 1;
    EXPECT_EQ(form->DBmaster_table->FieldByName(QStringLiteral("planprice")).AsFloat(), 0);

    // Saved already, in other letters, or typed twice before saving: the same record.
    typeIntoCell(v, row, "fgoodsid", QStringLiteral("g002"));
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("不能录入相同的记录!")}));
    EXPECT_EQ(cell(v, row, "fgoodsid"), QString()) << "the code is not taken";
    script.clear();
    EXPECT_TRUE(typeIntoCell(v, row, "fgoodsid", QStringLiteral("g003")).isEmpty());
    EXPECT_EQ(cell(v, row, "fgoodsid"), QStringLiteral("G003"));
    EXPECT_EQ(cell(v, row, "goodsname"), QStringLiteral("棉袜"));
    EXPECT_EQ(cell(v, row, "unitprice"), QStringLiteral("100.00"));
    EXPECT_TRUE(typeIntoCell(v, row, "planprice", QStringLiteral("33.5")).isEmpty());
    form->DBmaster_table->Append();
    typeIntoCell(v, form->DBmaster_table->RecNo() - 1, "fgoodsid", QStringLiteral("G003"));
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("不能录入相同的记录!")}));
    script.clear();
    // A code that is no goods item leaves the goods columns empty.
    typeIntoCell(v, form->DBmaster_table->RecNo() - 1, "fgoodsid", QStringLiteral("ZZ9"));
    EXPECT_EQ(form->DBmaster_table->FieldByName(QStringLiteral("goodsname")).AsString(), QString());
    form->DBmaster_table->Cancel();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('\n').toStdString();

    form->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_EQ(stored().value(2), QStringLiteral("G003|33.5|N3"));

    // Edited without reading the list again: the update finds the row by GoodsNo.
    ASSERT_TRUE(form->DBmaster_table->Locate(QStringLiteral("fgoodsid"), QStringLiteral("G003")));
    form->edit_action->trigger();
    typeIntoCell(v, form->DBmaster_table->RecNo() - 1, "planprice", QStringLiteral("34"));
    form->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_EQ(stored().value(2), QStringLiteral("G003|34|N3"));

    // Another goods code on a saved row: the row takes that item's GoodsNo too.
    form->edit_action->trigger();
    typeIntoCell(v, form->DBmaster_table->RecNo() - 1, "fgoodsid", QStringLiteral("G004"));
    form->post_action->trigger();
    form->edit_action->trigger();
    typeIntoCell(v, form->DBmaster_table->RecNo() - 1, "planprice", QStringLiteral("35"));
    form->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_EQ(stored().value(2), QStringLiteral("G004|35|N4"));
}

TEST_F(PlanPrice, RefusesAnEmptyCodeAndTextOrNegativeCosts) {
    Tfrm_planprice* form = openList();
    TDBTableView* v = form->cxGrid1DBTableView1;
    form->append_action->trigger();
    const int row = form->DBmaster_table->RecNo() - 1;
    typeIntoCell(v, row, "planprice", QStringLiteral("abc"));
    typeIntoCell(v, row, "ftaxprice", QStringLiteral("-3"));
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("含税成本价不能为负数!")}));
    EXPECT_EQ(form->DBmaster_table->FieldByName(QStringLiteral("planprice")).AsFloat(), 0)
        << "letters never reach a cost cell";
    EXPECT_TRUE(form->DBmaster_table->FieldByName(QStringLiteral("ftaxprice")).IsNull());
    script.clear();
    form->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList({QStringLiteral("货号不能为空!")}));
    EXPECT_EQ(db.count(QStringLiteral("planprice")), 2);
}

TEST_F(PlanPrice, PickedGoodsAddOnlyCodesNotListedYet) {
    db.exec(
        QStringLiteral("insert into planprice(fgoodsid,planprice,goodsno) "
                       "values('G005',9,'N5')"));
    Tfrm_planprice* form = openList();
    QTest::keyClicks(form->Edit_goodsid, QStringLiteral("G00"));
    form->But_Find->click();
    form->Edit_goodsid->setText(QStringLiteral("1"));
    form->But_Find->click();  // G005 is costed but not shown now
    script.onDialog([](QDialog& dialog) {
        auto& picker = static_cast<Tfrm_selectgoods&>(dialog);
        picker.But_Find->click();
        picker.CheckBox_all->click();
        picker.But_OK->click();
        return picker.result();
    });
    form->fgoodsidButtonClick();  // not editing: no dialog
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 1);
    form->edit_action->trigger();
    form->fgoodsidButtonClick();
    EXPECT_EQ(sorted(pairs(form->DBmaster_table, "goodsname")),
              QStringList({QStringLiteral("G001=圆领T恤"), QStringLiteral("G003=棉袜"),
                           QStringLiteral("G004=针织衫")}))
        << "G002 and G005 are costed already, though not shown";
    form->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_EQ(stored(), QStringList({QStringLiteral("G001|0|N1"), QStringLiteral("G002|120|N2"),
                                     QStringLiteral("G003|0|N3"), QStringLiteral("G004|0|N4"),
                                     QStringLiteral("G005|9|N5")}));
}

TEST_F(PlanPrice, ImportFollowsTheFirstRecordActionAndComesBackOnActivation) {
    Tfrm_planprice* form = open<Tfrm_planprice>();
    EXPECT_EQ(form->first_action->text(), QStringLiteral("导入"));
    EXPECT_EQ(form->last_action->text(), QStringLiteral("重算"));
    EXPECT_FALSE(form->first_action->isEnabled()) << "on the first record";
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form, &activate);
    EXPECT_TRUE(form->first_action->isEnabled());
    form->edit_action->trigger();
    QApplication::sendEvent(form, &activate);
    EXPECT_FALSE(form->first_action->isEnabled()) << "not while editing";
}

TEST_F(PlanPrice, RecalcOpensOnceInTheHostAreaAndAgainAfterClosing) {
    QMainWindow main;
    auto* area = new QMdiArea(&main);
    main.setCentralWidget(area);
    md::Session().HostMainForm = &main;
    Tfrm_planprice* form = open<Tfrm_planprice>();
    form->last_action->trigger();
    form->last_action->trigger();
    const QList<Tfrm_PlanCac*> shown = main.findChildren<Tfrm_PlanCac*>();
    ASSERT_EQ(shown.size(), 1) << "one window, brought forward the second time";
    ASSERT_EQ(area->subWindowList().size(), 1);
    EXPECT_EQ(area->subWindowList().first()->widget(), shown.first());

    shown.first()->Close();
    flushDeletes();
    EXPECT_TRUE(main.findChildren<Tfrm_PlanCac*>().isEmpty()) << "freed on close";
    form->last_action->trigger();
    EXPECT_EQ(main.findChildren<Tfrm_PlanCac*>().size(), 1);
    delete main.findChildren<Tfrm_PlanCac*>().first();
}

}  // namespace
}  // namespace md::test
