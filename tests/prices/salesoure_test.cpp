// 销售目标设置: shops picked in a new calendar year get rows of that year with
// empty months; a restricted user sees and picks only permitted shops; the
// checks before saving, the total of the months and months that are numbers.
#include <QAction>
#include <QToolButton>

#include "editors.h"
#include "prices/frm_salesoure.h"
#include "selectclient.h"
#include "termsfixture.h"

using namespace md::test;

namespace {

class SalesTarget : public TermsTest {
  protected:
    Tfrm_salesoure* form() {
        auto* f = openShown<Tfrm_salesoure>();
        v = f->cxGrid1DBTableView1;
        ds = f->DBmaster_table;
        return f;
    }
    // The selection dialog lists its shops into `listed`, marks every one and ends with OK.
    void pickAll(QStringList* listed = nullptr) {
        script.onDialog([listed](QDialog& dialog) {
            auto& pick = dynamic_cast<Tfrm_selectClient&>(dialog);
            TRemoteUdpDataSet* rows = pick.DBmaster_table;
            if (listed) *listed = column(rows, "fcode");
            for (rows->First(); !rows->Eof(); rows->Next()) {
                rows->Edit();
                rows->FieldByName("checkid").SetAsBoolean(true);
                rows->Post();
            }
            return int(QDialog::Accepted);
        });
    }
    void pressShopButton() {
        auto* cell = qobject_cast<md::ui::TButtonEdit*>(openEditor(v, "fclientcode"));
        ASSERT_NE(cell, nullptr);
        cell->button()->click();
        v->CancelEditor();
    }
    QStringList stored() {
        return rows("select fclientcode,ayear,m1,m12 from ba_salesoure order by ayear,fclientcode");
    }

    TDBTableView* v = nullptr;
    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(SalesTarget, ShopsPickedInANewYearGetThatYearWithEmptyMonths) {
    db.exec("delete from dt_client where fcode in('C00','C01','C02')");  // shops only
    auto* f = form();
    f->Today = [] { return QDate(2031, 1, 2); };
    EXPECT_EQ(field(ds, "sumto"), "300");
    ds->First();  // a scroll reads the year again
    EXPECT_EQ(f->CurrentYear(), "2031");
    pickAll();
    f->append_action->trigger();
    pressShopButton();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(stored(), (QStringList{"S01|2025|100|", "S01|2031||", "S02|2031||"}));
    ASSERT_TRUE(ds->Locate("fclientcode;ayear", QVariantList{"S02", 2031}));
    EXPECT_EQ(field(ds, "fabbrev") + "|" + field(ds, "fmathod") + "|" + field(ds, "sumto"),
              "港汇专柜|专柜|0");
    EXPECT_EQ(ds->RecordCount(), 3) << "the untouched new row went";

    f->edit_action->trigger();
    pressShopButton();
    EXPECT_EQ(stored().size(), 3) << "picked again: nothing new";
}

TEST_F(SalesTarget, ARestrictedUserSeesAndPicksOnlyPermittedShops) {
    db.exec("insert into ba_salesoure(fclientcode,ayear,m1) values('S02',2025,50)");
    db.exec("insert into userclient(fgroupid,fclientcode) values('u1','S02')");
    md::LoadUserScopes();
    ASSERT_FALSE(md::Shared().ClientScopeAll);
    auto* f = form();
    EXPECT_EQ(ds->SQL(),
              "select a.*,b.fabbrev,b.fmathod from ba_salesoure a join dt_client b on "
              "a.fclientcode=b.fcode where 1=1 and a.fclientcode in('S02')");
    EXPECT_EQ(column(ds, "fclientcode"), QStringList{"S02"});

    QStringList listed;
    pickAll(&listed);
    f->append_action->trigger();
    pressShopButton();
    EXPECT_EQ(listed, QStringList{"S02"});
    // Typed, another shop is no shop of this user.
    f->append_action->trigger();
    typeIntoCell(v, "fclientcode", "S01");
    EXPECT_EQ(script.texts(), QStringList{"客户编号输入有误,请重新录入!"});
    EXPECT_EQ(field(ds, "fclientcode"), "");
}

TEST_F(SalesTarget, ChecksBeforeSavingTheTotalAndMonthsThatAreNumbers) {
    auto* f = form();
    f->append_action->trigger();
    f->post_action->trigger();
    EXPECT_FALSE(typeIntoCell(v, "fclientcode", "s01"));
    EXPECT_EQ(field(ds, "fabbrev"), "南京东路店");
    f->post_action->trigger();
    EXPECT_TRUE(typeIntoCell(v, "ayear", "25"));
    EXPECT_FALSE(typeIntoCell(v, "ayear", "2025"));
    f->post_action->trigger();
    EXPECT_TRUE(typeIntoCell(v, "m3", "-"));
    EXPECT_TRUE(typeIntoCell(v, "m3", "-1000"));
    EXPECT_EQ(script.texts(),
              (QStringList{"请选择客户编号！", "请输入年份！", "年份输入有误!",
                           "不能录入相同重复的记录！", "3月必须是数字!", "3月不能为负数!"}));

    EXPECT_FALSE(typeIntoCell(v, "ayear", "2026"));
    EXPECT_FALSE(typeIntoCell(v, "m1", "1500.5"));
    EXPECT_FALSE(typeIntoCell(v, "m12", "2000"));
    EXPECT_EQ(field(ds, "sumto"), "3500.5");
    f->post_action->trigger();
    EXPECT_EQ(stored(), (QStringList{"S01|2025|100|", "S01|2026|1500.5|2000"}));
    EXPECT_EQ(v->SummaryText(*v->Column("sumto")), "3,800.50");
}

}  // namespace
