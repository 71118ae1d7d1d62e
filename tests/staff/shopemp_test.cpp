// 店铺营业员资料 and 营业员资料: which shops are listed, the picker button
// only while a row is edited, the skip of assigned employees, the 启用 flag,
// the statements written and the refusal of a row without an employee.
#include <QAction>

#include "remoteupdatesql.h"
#include "selectemp.h"
#include "shoplist.h"
#include "staff/frm_ShopEmp.h"
#include "staff/frm_ShopEmp_Class.h"
#include "stafffixture.h"

using namespace md::test;

namespace {

class ShopEmp : public StaffTest {
  protected:
    // The picker answers with these employees marked; counts the times it opened.
    void pickerMarks(const QStringList& marked) {
        script.onDialog([this, marked](QDialog& shown) {
            auto* d = qobject_cast<Tfrm_selectEmp*>(&shown);
            if (!d) return int(QDialog::Rejected);
            ++pickerShown;
            for (const QString& code : marked) {
                EXPECT_TRUE(d->DBmaster_table->Locate("fcode", code)) << code.toStdString();
                d->DBmaster_table->Edit();
                d->DBmaster_table->FieldByName("checkid").SetAsBoolean(true);
                d->DBmaster_table->Post();
            }
            return int(QDialog::Accepted);
        });
    }
    static void chooseShop(TShopList* list, const char* code) {
        ASSERT_TRUE(list->DBshop_table->Locate("fcode", code));
        ASSERT_EQ(list->CurrentCode(), code);
    }
    QStringList shopRows(const QString& shop) {
        return rows("select fempcode,fstrat from Dt_ShopEmp where fclientcode=" + QuotedStr(shop) +
                    " order by fempcode");
    }
    int pickerShown = 0;
};

TEST_F(ShopEmp, TheClassWindowListsOnlyShopsInTheUsersScope) {
    auto* f = open<Tfrm_ShopEmp_Class>();
    EXPECT_EQ(f->windowTitle(), "营业员资料");
    EXPECT_EQ(sorted(column(f->ShopList->DBshop_table, "fcode")), (QStringList{"S0101", "S0102"}));
    EXPECT_FALSE(f->print_action->isVisible());
    EXPECT_FALSE(f->excel_action->isVisible());
    EXPECT_EQ(f->ShopList->CurrentCode(), "S0101");
    EXPECT_EQ(column(f->DBmaster_table, "fnamech"), QStringList{"张伟"});

    md::Shared().ClientScopeAll = false;
    md::Shared().ClientScopeList = "'S0102'";
    EXPECT_EQ(Tfrm_ShopEmp_Class::ShopsSQL(),
              "select fcode,fabbrev,fmathod from dt_client where fcode in(select fclientcode "
              "from ba_squad)\r and fcode in('S0102')");
    closeForms();
    auto* scoped = open<Tfrm_ShopEmp_Class>();
    EXPECT_EQ(column(scoped->ShopList->DBshop_table, "fcode"), QStringList{"S0102"});
}

TEST_F(ShopEmp, PickingAnAssignedEmployeeAddsNothing) {
    auto* f = open<Tfrm_ShopEmp_Class>();
    chooseShop(f->ShopList, "S0101");
    pickerMarks({"E01", "E03"});
    f->append_action->trigger();
    f->fempcodeButtonClick();
    EXPECT_EQ(pickerShown, 1);
    EXPECT_EQ(column(f->DBmaster_table, "fempcode"), (QStringList{"E01", "E03"}))
        << "E01 serves the shop already; E03 took the new row";
    EXPECT_EQ(f->DBmaster_table->FieldByName("fnamech").AsString(), "孙明");
    EXPECT_EQ(f->DBmaster_table->FieldByName("fdeptname").AsString(), "加盟管理部");
    EXPECT_EQ(f->DBmaster_table->FieldByName("ftypename").AsString(), "试用员工");
    db.conn().log().clear();
    f->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(" / ").toStdString();
    EXPECT_EQ(shopRows("S0101"), (QStringList{"E01|1", "E03|1"}));
    EXPECT_EQ(statementsWith("into Dt_ShopEmp").size(), 1);

    // Everyone picked already serves the shop: nothing at all is added.
    f->edit_action->trigger();
    pickerMarks({"E01", "E03"});
    f->fempcodeButtonClick();
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 2);
}

TEST_F(ShopEmp, TheButtonWorksOnlyWhileARowIsEdited) {
    auto* f = open<Tfrm_ShopEmp_Class>();
    pickerMarks({"E02"});
    f->fempcodeButtonClick();
    EXPECT_EQ(pickerShown, 0);
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 1);
}

TEST_F(ShopEmp, TogglingTheFlagAndSavingStoresIt) {
    auto* f = open<Tfrm_ShopEmp_Class>();
    f->show();
    QApplication::setActiveWindow(f);
    f->edit_action->trigger();
    EXPECT_FALSE(f->ShopList->isEnabled()) << "the shop stays while its row is edited";
    TDBTableView* v = f->cxGrid1DBTableView1;
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, cell(v, 0, "fstrat").center());
    EXPECT_FALSE(f->DBmaster_table->FieldByName("fstrat").AsBoolean());
    db.conn().log().clear();
    f->post_action->trigger();
    EXPECT_EQ(shopRows("S0101"), QStringList{"E01|0"});
    EXPECT_EQ(statementsWith("update Dt_ShopEmp").size(), 1);
    EXPECT_TRUE(f->ShopList->isEnabled());
    EXPECT_TRUE(f->edit_action->isEnabled());
    EXPECT_FALSE(f->post_action->isEnabled());
}

TEST_F(ShopEmp, ARowWithoutAnEmployeeIsRefusedAndDeleteAsks) {
    auto* f = open<Tfrm_ShopEmp_Class>();
    f->append_action->trigger();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"请选择员工编号"});
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);
    f->cacel_action->trigger();
    EXPECT_EQ(script.texts().value(1), "是否确认撤消本次修改？");

    script.clear();
    f->del_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"是否确认删除此记录？"});
    EXPECT_TRUE(shopRows("S0101").isEmpty());
    EXPECT_EQ(rows("select count(*) from dt_employee where fcode='E01'"), QStringList{"1"});
}

TEST_F(ShopEmp, TheShopWindowListsEveryClientAndAddsWithoutTheTest) {
    auto* f = open<Tfrm_ShopEmp>();
    EXPECT_EQ(f->windowTitle(), "店铺营业员资料");
    EXPECT_EQ(sorted(column(f->ShopList->DBshop_table, "fcode")),
              (QStringList{"C01", "S0101", "S0102"}));
    chooseShop(f->ShopList, "S0102");
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 0);

    pickerMarks({"E02", "E04"});
    f->fempcodeButtonClick();
    EXPECT_EQ(pickerShown, 0) << "browsing: the button does nothing";

    f->append_action->trigger();
    EXPECT_FALSE(f->ShopList->isEnabled());
    f->fempcodeButtonClick();
    EXPECT_EQ(sorted(column(f->DBmaster_table, "fempcode")), (QStringList{"E02", "E04"}))
        << "the picker's rows come in the server's order";
    f->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(" / ").toStdString();
    EXPECT_EQ(rows("select fclientcode,fempcode from Dt_ShopEmp where fclientcode='S0102' "
                   "order by fempcode"),
              (QStringList{"S0102|E02", "S0102|E04"}));
    EXPECT_TRUE(f->ShopList->isEnabled());

    // A second pick of E02 is not tested by the window: the database refuses it.
    f->append_action->trigger();
    pickerMarks({"E02"});
    f->fempcodeButtonClick();
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 3);
    f->post_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().value(0).isError);
    EXPECT_EQ(rows("select count(*) from Dt_ShopEmp where fclientcode='S0102'"), QStringList{"2"});
}

}  // namespace
