// The coupon window: its filter and statement, the list it shows, 修改 and
// 删除 with their checks and log entries, and what a user without rights may do.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>

#include "couponsfixture.h"
#include "dbcontrols.h"
#include "grid.h"
#include "members/frm_MoneyCardEdit.h"

using namespace md::test;

class CouponWindow : public CouponTest {
  protected:
    QStringList listedNumbers(Tfrm_MoneyCard* form) {
        QStringList out;
        TRemoteUdpDataSet* ds = form->DBmaster_table;
        const int field = ds->FieldByName(QStringLiteral("fcardno")).Index();
        for (int row = 0; row < ds->RecordCount(); ++row) out << ds->valueAt(row, field).toString();
        out.sort();
        return out;
    }
    void go(Tfrm_MoneyCard* form, const QString& cardno) {
        ASSERT_TRUE(form->DBmaster_table->Locate(QStringLiteral("fcardno"), cardno));
    }
};

TEST_F(CouponWindow, TheListWaitsForCountAndShowsThisMonthsValidCouponsByDefault) {
    addCoupon(QStringLiteral("IN01"), QStringLiteral("BC01"));
    addCoupon(QStringLiteral("IN02"), QStringLiteral("BC02"), 2, monthStart(), monthStart());
    addCoupon(QStringLiteral("LATE"), QStringLiteral("BC03"), 1, monthStart(), today().addDays(1));
    addCoupon(QStringLiteral("EARLY"), QStringLiteral("BC04"), 4, monthStart().addDays(-1),
              today());
    Tfrm_MoneyCard* form = open();
    EXPECT_FALSE(form->DBmaster_table->Active());
    EXPECT_TRUE(form->ValidDate.Check->isChecked());
    EXPECT_FALSE(form->InputDate.Check->isChecked());
    EXPECT_EQ(form->ValidDate.From->date(), monthStart());
    EXPECT_EQ(form->SaleDate.To->date(), today());
    form->But_Count->click();
    EXPECT_EQ(listedNumbers(form), (QStringList{QStringLiteral("IN01"), QStringLiteral("IN02")}));
    // Shown by name: the status.
    go(form, QStringLiteral("IN02"));
    const TGridColumn* status = form->cxGrid1DBTableView1->Column(QStringLiteral("fstatus"));
    EXPECT_EQ(
        status->lookupText(form->DBmaster_table->FieldByName(QStringLiteral("fstatus")).Value()),
        QStringLiteral("已发放"));
}

TEST_F(CouponWindow, EveryFilterGoesIntoTheStatementInItsOrder) {
    Tfrm_MoneyCard* form = open();
    const QDate d1(2026, 1, 1), d2(2026, 1, 31);
    for (Tfrm_MoneyCard::TDateRange* r :
         {&form->InputDate, &form->OutDate, &form->ValidDate, &form->SaleDate}) {
        r->Check->setChecked(true);
        r->From->setDate(d1);
        r->To->setDate(d2);
    }
    form->Combo_Client->setKeyValue(QStringLiteral("S001"));
    form->Combo_UserClient->setKeyValue(QStringLiteral("S002"));
    form->Combo_Status->setCurrentIndex(3);
    form->Edit_CardNo->setText(QStringLiteral("O'Q"));
    EXPECT_EQ(form->QuerySQL(),
              QStringLiteral("select * from D_MoneyCard where 1=1\r"
                             " and finputdate>='2026-01-01' and finputdate<='2026-01-31'"
                             " and foutdate>='2026-01-01' and foutdate<='2026-01-31'"
                             " and fbegindate>='2026-01-01' and fenddate<='2026-01-31'"
                             " and fsaledate>='2026-01-01' and fsaledate<='2026-01-31'"
                             " and fclientcode='S001' and fuserclientcode='S002'"
                             " and fstatus=3 and fcardno like '%O''Q%'"));
    form->But_Count->click();  // the quote does not break it
    EXPECT_TRUE(form->DBmaster_table->Active());
    EXPECT_TRUE(script.shown().isEmpty());

    // A range that ends before it starts is refused, the list left as it is.
    addCoupon(QStringLiteral("N1"), QStringLiteral("BC1"));
    form->SaleDate.From->setDate(d2.addDays(1));
    form->But_Count->click();
    EXPECT_EQ(script.texts(),
              QStringList{QStringLiteral("<消费日期>的开始日期不能晚于结束日期！")});
    EXPECT_TRUE(form->DBmaster_table->IsEmpty());
}

TEST_F(CouponWindow, OnlyCouponsNotIssuedAreDeleted) {
    addCoupon(QStringLiteral("C1"), QStringLiteral("BC1"), 1);
    for (int status : {2, 3, 4})
        addCoupon(QStringLiteral("C%1").arg(status), QStringLiteral("BC%1").arg(status), status);
    Tfrm_MoneyCard* form = open();
    form->But_Count->click();
    for (const char* issued : {"C2", "C3", "C4"}) {
        go(form, QString::fromLatin1(issued));
        script.clear();
        form->del_action->trigger();
        EXPECT_EQ(script.texts(), QStringList{QStringLiteral("只能删除未发放的现金券！")});
    }
    go(form, QStringLiteral("C1"));
    script.clear();
    script.answer(md::ui::Answer::No);
    form->del_action->trigger();
    EXPECT_EQ(db.count(QStringLiteral("D_MoneyCard")), 4);
    go(form, QStringLiteral("C1"));
    form->del_action->trigger();  // yes
    EXPECT_EQ(script.texts(), (QStringList{QStringLiteral("是否确认删除此现金券资料？"),
                                           QStringLiteral("是否确认删除此现金券资料？")}));
    EXPECT_EQ(db.count(QStringLiteral("D_MoneyCard where fcardno='C1'")), 0);
    EXPECT_EQ(db.count(QStringLiteral("D_MoneyCard")), 3);
    EXPECT_EQ(logEntries(), (QStringList{QStringLiteral("进入|"), QStringLiteral("删除|C1")}));
}

TEST_F(CouponWindow, AnIssuedCouponIsEditedInTheEditDialog) {
    addCoupon(QStringLiteral("E1"), QStringLiteral("BCE1"), 2);
    Tfrm_MoneyCard* form = open();
    form->But_Count->click();
    go(form, QStringLiteral("E1"));
    script.onDialog([&](QDialog& d) {
        auto& dialog = dynamic_cast<Tfrm_MoneyCardEdit&>(d);
        EXPECT_EQ(dialog.Edit_CardNo->text(), QStringLiteral("E1"));
        EXPECT_TRUE(dialog.Edit_CardNo->isReadOnly());
        EXPECT_EQ(dialog.Edit_Money->text(), QStringLiteral("50.00"));
        type(dialog.Edit_Name, QStringLiteral("Wang"));
        type(dialog.Edit_Mobile, QStringLiteral("13800138000"));
        type(dialog.Combo_Shop->lineEdit(), QStringLiteral("S002"));
        dialog.But_OK->click();
        return dialog.result();
    });
    form->edit_action->trigger();
    EXPECT_EQ(rows(QStringLiteral("select fname,fmobile,fclientcode,fclientno,fstatus from "
                                  "D_MoneyCard where fcardno='E1'")),
              QStringList{QStringLiteral("Wang|13800138000|S002|F0000000S002|2")});
    EXPECT_EQ(logEntries(), (QStringList{QStringLiteral("进入|"), QStringLiteral("修改|E1")}));
}

TEST_F(CouponWindow, TheEditDialogRefusesBadValuesAndItsCancelDropsTheEdit) {
    addCoupon(QStringLiteral("E2"), QStringLiteral("BCE2"));
    Tfrm_MoneyCard* form = open();
    form->But_Count->click();
    script.onDialog([&](QDialog& d) {
        auto& dialog = dynamic_cast<Tfrm_MoneyCardEdit&>(d);
        type(dialog.Edit_Name, QStringLiteral("Li"));
        dialog.Date_End->setDate(monthStart().addDays(-1));
        dialog.But_OK->click();
        dialog.Date_End->setDate(today());
        type(dialog.Combo_Shop->lineEdit(), QStringLiteral("S404"));
        dialog.But_OK->click();
        dialog.But_Cancel->click();
        return dialog.result();
    });
    form->edit_action->trigger();
    EXPECT_EQ(script.texts(), (QStringList{QStringLiteral("<失效日期>不能早于<生效日期>！"),
                                           QStringLiteral("领券店铺“S404”不存在！")}));
    EXPECT_EQ(rows(QStringLiteral("select fname,fclientcode,fenddate from D_MoneyCard")),
              QStringList{QStringLiteral("|") + QStringLiteral("|") + day(today())});
    EXPECT_FALSE(form->DBmaster_table->UpdatesPending());
    EXPECT_EQ(form->DBmaster_table->FieldByName(QStringLiteral("fname")).AsString(), QString());
    EXPECT_FALSE(form->DBmaster_table->InEditState());
}

TEST_F(CouponWindow, WithoutRightsOnlyTheListAndClosingAreLeft) {
    db.exec(QStringLiteral("delete from dr_rightdetail"));
    Tfrm_MoneyCard* form = open();
    for (QAction* a : {form->append_action, form->edit_action, form->del_action, form->out_action,
                       form->excel_action})
        EXPECT_FALSE(a->isEnabled()) << qPrintable(a->objectName());
    EXPECT_TRUE(form->close_action->isEnabled());
    EXPECT_TRUE(form->But_Count->isEnabled());
}
