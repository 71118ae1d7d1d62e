// VIP会员资料: the list in the user's client scope, the pages, the category
// choice bringing its discount, the checks before saving in their order, the
// statements a save and a delete send, and the occupation list.
#include <QAction>
#include <QLineEdit>
#include <QTabWidget>

#include "dbcontrols.h"
#include "members/frm_vipcard.h"
#include "membersfixture.h"
#include "reportbridge.h"

using namespace md::test;

namespace {

class Members : public MembersTest {
  protected:
    Tfrm_vipcard* form() {
        auto* f = openShown<Tfrm_vipcard>();
        ds = f->DBmaster_table;
        return f;
    }
    // Picks a category from the drop-down with the keyboard, as a user does.
    static void chooseCategory(Tfrm_vipcard* f, const QString& name) {
        f->Combo_Grade->setFocus();
        for (int tries = 0; tries < 10 && f->Combo_Grade->currentText() != name; ++tries)
            QTest::keyClick(f->Combo_Grade,
                            f->Combo_Grade->findText(name) > f->Combo_Grade->currentIndex()
                                ? Qt::Key_Down
                                : Qt::Key_Up);
        ASSERT_EQ(f->Combo_Grade->currentText(), name);
    }

    TRemoteUdpDataSet* ds = nullptr;
};

TEST_F(Members, TheListHoldsTheMembersOfTheUsersShopsWhileTheShopLookUpListsEveryClient) {
    restrictTo({"S0101", "C01"});
    auto* f = form();
    EXPECT_EQ(ds->SQL(),
              "select a.*,b.discount,b.vipLBname,c.fabbrev from dt_vipcard a left join ba_viplb b "
              "on a.vipgrade=b.viplbid \rleft join dt_client c on a.clientid=c.fcode where "
              "1=1\r and a.clientid in('S0101','C01')");
    EXPECT_EQ(column(ds, "vipid"), QStringList{"V01010001"});
    EXPECT_EQ(field(ds, "fabbrev") + "|" + field(ds, "vipLBname") + "|" + field(ds, "discount"),
              "湖滨银泰店|普通会员|0.95");
    EXPECT_EQ(sorted(column(f->DBshop, "fcode")),
              (QStringList{"C01", "S0101", "S0102", "S0201", "S0301"}));
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabList);
    EXPECT_EQ(f->cxGrid1DBTableView1->SummaryText(*f->cxGrid1DBTableView1->Column("vipid")),
              "记录数：1");

    db.exec("delete from userclient");
    md::LoadUserScopes();
    auto* all = form();
    EXPECT_EQ(sorted(column(all->DBmaster_table, "vipid")),
              (QStringList{"V01010001", "V01020001", "V02010001"}));
}

TEST_F(Members, ChoosingACategoryStoresItsIdAndShowsItsDiscount) {
    auto* f = form();
    ASSERT_TRUE(ds->Locate("vipid", "V01010001"));
    f->edit_action->trigger();
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabDetail) << "修改 shows the detail page";
    EXPECT_EQ(f->Edit_Discount->text(), "0.95");
    EXPECT_TRUE(f->Edit_Discount->isReadOnly());
    chooseCategory(f, "金卡会员");
    EXPECT_EQ(field(ds, "vipgrade"), "1003");
    EXPECT_EQ(f->Edit_Discount->text(), "0.85");
    chooseCategory(f, "银卡会员");
    EXPECT_EQ(field(ds, "vipgrade") + "|" + field(ds, "discount"), "1002|0.9");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select vipgrade from dt_vipcard where vipid='V01010001'"), QStringList{"1002"});
}

TEST_F(Members, SavingChecksCardNumberThenDatesThenCategory) {
    auto* f = form();
    f->append_action->trigger();
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabDetail) << "新增 shows the detail page";
    ASSERT_TRUE(f->Edit_VipId->hasFocus());
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"VIP卡号不能为空！"});
    EXPECT_TRUE(f->Edit_VipId->hasFocus());

    type("v0199");
    EXPECT_EQ(field(ds, "vipid"), "V0199") << "typed in upper case";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(f->Edit_VipId->hasFocus()) << "Enter moves on";
    type("林晓");
    f->Date_Begin->setDate(QDate(2025, 5, 1));
    f->post_action->trigger();
    f->Date_End->setDate(QDate(2027, 4, 30));
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), (QStringList{"VIP卡号不能为空！", "请选择生效日期与失效日期！",
                                           "VIP类别不能为空！"}));
    EXPECT_TRUE(f->Combo_Grade->hasFocus());
    EXPECT_EQ(ds->State(), dsInsert) << "refused: still being entered";
    EXPECT_EQ(db.count("dt_vipcard"), 3);

    chooseCategory(f, "普通会员");
    f->post_action->trigger();
    EXPECT_EQ(script.texts().size(), 3);
    EXPECT_EQ(rows("select vipid,name,vipgrade,amount from dt_vipcard where vipid='V0199'"),
              QStringList{"V0199|林晓|1001|0"});
    EXPECT_EQ(
        db.scalar("select begaindate from dt_vipcard where vipid='V0199'").toString().left(10),
        "2025-05-01");
}

TEST_F(Members, ACardNumberAndANameChangedAreWrittenToTheCardAsRead) {
    auto* f = form();
    ASSERT_TRUE(ds->Locate("vipid", "V01020001"));
    f->edit_action->trigger();
    f->Edit_VipId->setFocus();
    f->Edit_VipId->selectAll();
    type("V01020009");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    type("华");  // the name box follows: 陈静华
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select vipid,name from dt_vipcard where clientid='S0102'"),
              QStringList{"V01020009|陈静华"});
    EXPECT_EQ(db.count("syslog where modename='VIP会员资料' and fstate='保存'"), 1);

    f->del_action->trigger();
    EXPECT_EQ(db.count("dt_vipcard where clientid='S0102'"), 0);
    EXPECT_EQ(cards(), (QStringList{"V01010001", "V02010001"}));
}

TEST_F(Members, TheOccupationListOffersWhatIsStoredAndLearnsNewOnes) {
    db.exec("update dt_vipcard set workname='教师' where vipid='V01010001'");
    auto* f = form();
    EXPECT_EQ(f->Combo_Work->count(), 1);
    EXPECT_EQ(f->Combo_Work->itemText(0), "教师");
    ASSERT_TRUE(ds->Locate("vipid", "V02010001"));
    f->edit_action->trigger();
    f->Combo_Work->setFocus();
    type("设计师", f->Combo_Work->lineEdit());
    f->post_action->trigger();
    EXPECT_EQ(rows("select workname from dt_vipcard where vipid='V02010001'"),
              QStringList{"设计师"});
    EXPECT_GE(f->Combo_Work->findText("设计师"), 0);
}

TEST_F(Members, BatchAndImportNeedTheRightToAddAndNoMemberBeingEdited) {
    auto* f = form();
    EXPECT_TRUE(f->batch_action->isEnabled());
    f->append_action->trigger();
    EXPECT_FALSE(f->batch_action->isEnabled());
    EXPECT_FALSE(f->input_action->isEnabled());

    db.exec("update dr_rightdetail set b_add=0");
    auto* g = form();
    EXPECT_FALSE(g->batch_action->isEnabled());
    EXPECT_FALSE(g->input_action->isEnabled());
    EXPECT_TRUE(g->edit_action->isEnabled());
}

TEST_F(Members, ExportOpensTheMemberReportByShopAndCategoryWithValidity) {
    restrictTo({"S0101", "S0102"});
    addMember("V01010002", "周敏", "1003", "S0101");
    addMember("V01010003", "吴婷", "1001", "S0101");
    db.exec("update dt_vipcard set enddate='2020-12-31' where vipid='V01010003'");
    db.exec(
        "update dt_vipcard set begaindate='2099-01-01',enddate='2099-12-31' where "
        "vipid='V01020001'");
    auto* f = form();
    f->excel_action->trigger();
    EXPECT_EQ(db.count("syslog where modename='VIP会员资料' and fstate='导出'"), 1);
    auto* report = qobject_cast<QWidget*>(md::lastReportWindow());
    if (!report) GTEST_SKIP() << "no report plug-in beside the test program";
    EXPECT_EQ(report->windowTitle(), "VIP会员资料表");
    auto* list = report->findChild<TRemoteUdpDataSet*>("DBmaster_table");
    ASSERT_NE(list, nullptr);
    QStringList shown;
    for (list->First(); !list->Eof(); list->Next())
        shown << field(list, "fabbrev") + "|" + field(list, "vipLBname") + "|" +
                     field(list, "vipid") + "|" + field(list, "fstate");
    // The shops in order, the categories within a shop; S0201 is out of scope.
    EXPECT_EQ(shown, (QStringList{"湖滨银泰店|普通会员|V01010001|有效",
                                  "湖滨银泰店|普通会员|V01010003|已过期",
                                  "湖滨银泰店|金卡会员|V01010002|有效",
                                  "西湖文化广场店|银卡会员|V01020001|未生效"}));
    report->close();
}

}  // namespace
