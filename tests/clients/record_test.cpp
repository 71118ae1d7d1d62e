// A client record as the user makes and changes it: the defaults of a new
// client, the checks before saving in their order, the code and short-name
// checks as the boxes are left, the root marker, F5 and F6, the numbers.
#include "clientsfixture.h"

using namespace md::test;

namespace {

class ClientRecord : public ClientsTest {};

TEST_F(ClientRecord, OpensOnTheDetailPageWithTheWholeTree) {
    Tfrm_client* f = openForm();
    EXPECT_EQ(f->windowTitle(), "客户档案");
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabDetail);
    EXPECT_EQ(f->DBmaster_table->SQL(), "select * from dt_client order  by fcode");
    EXPECT_EQ(topLevelCodes(f), (QStringList{"C00", "C02"}));
    // Three levels below the company, the tree fully expanded.
    ASSERT_TRUE(f->DBmaster_table->Locate("fcode", "S010101"));
    const QModelIndex counter = f->dxDBTreeList1->currentIndex();
    EXPECT_EQ(counter.data().toString(), "S010101");
    EXPECT_EQ(counter.parent().parent().parent().data().toString(), "C00");
    EXPECT_TRUE(f->dxDBTreeList1->isExpanded(counter.parent()));
    EXPECT_EQ(states(), QStringList{"进入"});
}

TEST_F(ClientRecord, ANewClientStartsWithItsDefaultsAndIsSavedAtTheTopWithTheRootMarker) {
    Tfrm_client* f = openForm();
    f->ShowListPage();
    f->append_action->trigger();
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabDetail);
    EXPECT_EQ(field(f, "fid").size(), 12);
    EXPECT_EQ(field(f, "fcredit_type"), "是");
    EXPECT_EQ(field(f, "ftaxtype"), "否");
    EXPECT_TRUE(f->DBmaster_table->FieldByName("stratbit").AsBoolean());
    EXPECT_FALSE(f->dxDBTreeList1->isEnabled());
    EXPECT_TRUE(f->Edit_Code->isEnabled());

    fillRequired(f, "F0301", "江宁百家湖");
    f->post_action->trigger();
    ASSERT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select fparentid,fcredit_type,ftaxtype,stratbit,first_amount,fcredit,ftaxrate,"
                   "firstcharges from dt_client where fcode='F0301'"),
              QStringList{" |是|否|1|0|0|0|0"});
    EXPECT_EQ(rows("select discount1,discount2,discount3,discount4,discount5,discount6 from "
                   "dt_client where fcode='F0301'"),
              QStringList{"1|1|1|1|1|1"});
    EXPECT_EQ(db.count("Dt_ClientImage"), 0) << "no photo row without a photo";
    EXPECT_TRUE(f->dxDBTreeList1->isEnabled());
    EXPECT_EQ(topLevelCodes(f), (QStringList{"C00", "C02", "F0301"}));
    EXPECT_EQ(states(), (QStringList{"进入", "新增", "保存"}));
    // The saved client can be chosen as a parent at once.
    f->append_action->trigger();
    fillRequired(f, "F030101", "江宁二店");
    pickNode(f->Lookup_Parent, "F0301");
    f->post_action->trigger();
    EXPECT_EQ(rows("select b.fcode from dt_client a join dt_client b on a.fparentid=b.fid "
                   "where a.fcode='F030101'"),
              QStringList{"F0301"});
}

TEST_F(ClientRecord, SaveChecksComeInTheirOrderEachFocusingItsBoxAndKeepingTheRecord) {
    Tfrm_client* f = openForm();
    f->append_action->trigger();
    auto saveAndExpect = [&](const QString& message, QWidget* focused) {
        script.clear();
        f->post_action->trigger();
        EXPECT_EQ(script.texts(), QStringList{message});
        EXPECT_EQ(f->DBmaster_table->State(), dsInsert);
        EXPECT_TRUE(focused->hasFocus()) << message;
    };
    saveAndExpect("客户编号不能为空！", f->Edit_Code);
    typeInto(f->Edit_Code, "N01");
    saveAndExpect("客户简称不能为空！", f->Edit_Abbrev);
    typeInto(f->Edit_Abbrev, "新客户");
    saveAndExpect("客户名称不能为空！", f->Edit_Name);
    typeInto(f->Edit_Name, "新客户服饰");
    saveAndExpect("客户性质不能为空！", f->Combo_Mathod);
    choose(f->Combo_Mathod, "外销");
    saveAndExpect("客户等级不能为空！", f->Combo_Grad);
    choose(f->Combo_Grad, "一般客户");
    saveAndExpect("价格方式不能为空！", f->Combo_PriceType);
    EXPECT_EQ(db.count("dt_client where fcode='N01'"), 0);
    choose(f->Combo_PriceType, "按等级");
    script.clear();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(db.count("dt_client where fcode='N01' and fmathod='外销' and fprice_type='按等级'"),
              1);
    EXPECT_EQ(states(), (QStringList{"进入", "新增", "保存"})) << "refused saves log nothing";
}

TEST_F(ClientRecord, ATakenCodeIsRefusedAsTheBoxIsLeftAndAgainWhenSavedStraightAway) {
    Tfrm_client* f = openForm();
    f->append_action->trigger();
    typeInto(f->Edit_Code, "C01");
    pressEnter(f->Edit_Code);
    EXPECT_EQ(script.texts(), QStringList{"此客户编号已存在，请重新录入！"});
    EXPECT_EQ(field(f, "fcode"), "");
    EXPECT_EQ(f->Edit_Code->text(), "");
    EXPECT_TRUE(f->Edit_Code->hasFocus());

    // Typed and saved without leaving the box: the same check, before the others.
    script.clear();
    typeInto(f->Edit_Code, "C02");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"此客户编号已存在，请重新录入！"});
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);

    // Editing an existing client checks no code: its own is taken by itself.
    f->cacel_action->trigger();
    script.clear();
    select(f, "C02");
    f->edit_action->trigger();
    EXPECT_FALSE(f->Edit_Code->isEnabled());
    typeInto(f->Edit_Name, "宁波甬城服装批发有限公司");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select fname from dt_client where fcode='C02'"),
              QStringList{"宁波甬城服装批发有限公司"});
}

TEST_F(ClientRecord, AShortNameOfAnotherClientWarnsButIsSaved) {
    Tfrm_client* f = openForm();
    select(f, "C02");
    f->edit_action->trigger();
    typeInto(f->Edit_Abbrev, "上海申雅");
    pressEnter(f->Edit_Abbrev);
    EXPECT_EQ(script.texts(), QStringList{"已经存在此简称的客户!"});
    EXPECT_EQ(f->Edit_Abbrev->text(), "上海申雅");
    script.clear();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{}) << "warned once";
    EXPECT_EQ(db.count("dt_client where fabbrev='上海申雅'"), 2);

    // Its own short name is no other client's.
    f->edit_action->trigger();
    typeInto(f->Edit_Abbrev, "上海申雅");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"已经存在此简称的客户!"});
    script.clear();
    select(f, "C00");
    f->edit_action->trigger();
    typeInto(f->Edit_Abbrev, "雅韵总部");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
}

TEST_F(ClientRecord, F5LeavesTheClientWithoutAParentSavedAtTheTopAndF6ClearsTheArea) {
    Tfrm_client* f = openForm();
    select(f, "S0101");
    f->edit_action->trigger();
    typeInto(f->Edit_Area, "0103");
    QTest::keyClick(f->Edit_Area, Qt::Key_F6);
    EXPECT_EQ(field(f, "fareacode"), "");
    typeInto(f->Edit_Area, "0101");
    QTest::keyClick(f->Edit_Area, Qt::Key_F5);
    EXPECT_EQ(field(f, "fparentid"), "");
    EXPECT_EQ(f->Lookup_Parent->currentText(), "");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select fparentid,fareacode from dt_client where fcode='S0101'"),
              QStringList{" |0101"});
    EXPECT_EQ(topLevelCodes(f), (QStringList{"C00", "C02", "S0101"}));
    // Its own shop moved with it.
    ASSERT_TRUE(f->DBmaster_table->Locate("fcode", "S010101"));
    EXPECT_EQ(f->dxDBTreeList1->currentIndex().parent().data().toString(), "S0101");

    // Browsing, the keys change nothing.
    select(f, "C01");
    f->dxDBTreeList1->setFocus();
    QTest::keyClick(f->dxDBTreeList1, Qt::Key_F5);
    EXPECT_EQ(field(f, "fparentid"), "KC00");
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);
}

TEST_F(ClientRecord, EnterMovesOnThroughTheDetailPage) {
    Tfrm_client* f = openForm();
    f->append_action->trigger();
    ASSERT_TRUE(f->Edit_Code->hasFocus());
    pressEnter(f->Edit_Code);
    EXPECT_TRUE(f->Edit_Abbrev->hasFocus());
    pressEnter(f->Edit_Abbrev);
    EXPECT_TRUE(f->Edit_Name->hasFocus());
}

TEST_F(ClientRecord, NumbersThatAreNoNumbersAndTaxRatesBeyondAHundredAreRefusedAfterTheChecks) {
    Tfrm_client* f = openForm();
    select(f, "C02");
    f->edit_action->trigger();
    typeInto(f->Edit_Abbrev, "");
    typeInto(f->Edit_TaxRate, "120");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"客户简称不能为空！"}) << "the described checks first";

    script.clear();
    typeInto(f->Edit_Abbrev, "宁波甬城");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"发票税率必须是0到100之间的数字!"});
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabExtra);
    EXPECT_TRUE(f->Edit_TaxRate->hasFocus());

    script.clear();
    typeInto(f->Edit_TaxRate, "13");
    typeInto(f->Edit_Deposit, "五万");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"保证金必须是数字!"});
    EXPECT_EQ(f->Edit_Deposit->text(), "五万") << "the typed text stays to be corrected";

    script.clear();
    typeInto(f->Edit_Deposit, "50000");
    typeInto(f->Edit_Credit, "30万");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"信用额度必须是数字!"});
    EXPECT_EQ(f->DBmaster_table->State(), dsEdit);
    EXPECT_EQ(rows("select ftaxrate,first_amount from dt_client where fcode='C02'"),
              QStringList{"0|0"})
        << "nothing saved yet";

    script.clear();
    typeInto(f->Edit_Credit, "");
    typeInto(f->Edit_FirstCharges, "-1200.5");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select ftaxrate,first_amount,fcredit,firstcharges from dt_client "
                   "where fcode='C02'"),
              QStringList{"13|50000|0|-1200.5"})
        << "an emptied amount is saved as 0";
    EXPECT_EQ(f->Edit_Credit->text(), "0.00");
}

TEST_F(ClientRecord, AnEmailAddressWithoutAtSignIsQuestionedAndSaved) {
    Tfrm_client* f = openForm();
    select(f, "C02");
    f->edit_action->trigger();
    typeInto(f->Edit_Email, "nbyc.163.com");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"电子邮箱地址中没有“@”，请核对!"});
    EXPECT_EQ(rows("select femail from dt_client where fcode='C02'"), QStringList{"nbyc.163.com"});
}

TEST_F(ClientRecord, CancelDropsTheNewClientAndReturnsToWhereTheUserWas) {
    Tfrm_client* f = openForm();
    select(f, "C01");
    f->append_action->trigger();
    fillRequired(f, "X1", "临时");
    f->cacel_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"是否确认撤消本次修改？"});
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);
    EXPECT_EQ(field(f, "fcode"), "C01");
    EXPECT_EQ(db.count("dt_client where fcode='X1'"), 0);
    EXPECT_TRUE(f->dxDBTreeList1->isEnabled());
}

}  // namespace
