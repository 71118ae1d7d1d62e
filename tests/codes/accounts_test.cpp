// Fund accounts and retail expense items: defaults of new records, checks in
// order, and expense items stored as description values of their own table name.
#include <QAction>
#include <QDate>

#include "codes/frm_account.h"
#include "codes/frm_retailchargesitem.h"
#include "codesfixture.h"

using namespace md::test;

namespace {

using Accounts = CodesTest;

TEST_F(Accounts, ANewAccountStartsTodayWithNothingAndNeedsCodeAndName) {
    auto* f = open<Tfrm_account>();
    TRemoteUdpDataSet* ds = f->DBmaster_table;
    f->append_action->trigger();
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    EXPECT_EQ(field(ds, "fFirsdate"), today);
    EXPECT_EQ(field(ds, "finputdate"), today);
    EXPECT_EQ(field(ds, "finputuser"), "u1");
    EXPECT_FALSE(ds->FieldByName("fFirstvalue").IsNull());
    f->post_action->trigger();
    ds->FieldByName("fCode").SetAsString("001");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), (QStringList{"编号不能为空!", "帐户名称不能为空!"}));
    ds->FieldByName("fName").SetAsString("库存现金");
    f->post_action->trigger();
    EXPECT_EQ(rows("select fCode,fName,finputuser from ba_account"),
              QStringList{"001|库存现金|u1"});
    EXPECT_EQ(db.count("ba_account where fFirstvalue=0"), 1);
    EXPECT_EQ(db.count("ba_account where fFirsdate='" + today + "'"), 1);
}

TEST_F(Accounts, ExpenseItemsAreMonthlyOrNotByTheirFieldName) {
    db.exec(
        "insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues,fsysbit) "
        "values('goods','brand','雅韵',0)");
    db.exec(
        "insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues,fsysbit) "
        "values('OA_SstockAmount','fitemname','快递费',0)");
    auto* f = open<Tfrm_RetailChargesItem>();
    TRemoteUdpDataSet* ds = f->DBmaster_table;
    EXPECT_EQ(ds->RecordCount(), 1) << "only the expense items";
    EXPECT_FALSE(f->excel_action->isVisible());

    f->append_action->trigger();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"项目名称不能为空!"});
    ds->FieldByName("fFieldValues").SetAsString("店铺租金");
    ds->FieldByName("fsysbit").SetAsBoolean(true);
    f->post_action->trigger();
    // A monthly item that stops being monthly changes its field name.
    ASSERT_TRUE(ds->Locate("fFieldValues", "快递费"));
    f->edit_action->trigger();
    ds->FieldByName("fsysbit").SetAsBoolean(true);
    f->post_action->trigger();
    ASSERT_TRUE(ds->Locate("fFieldValues", "店铺租金"));
    f->edit_action->trigger();
    ds->FieldByName("fsysbit").SetAsBoolean(false);
    f->post_action->trigger();
    EXPECT_EQ(
        rows("select ftablename,ffieldname,fFieldValues from ba_fieldvalues order by fautoid"),
        (QStringList{"goods|brand|雅韵", "OA_SstockAmount|fMonthItem|快递费",
                     "OA_SstockAmount|fitemname|店铺租金"}));
    EXPECT_EQ(script.texts().size(), 1);
}

}  // namespace
