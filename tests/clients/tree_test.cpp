// The client tree and what surrounds it: a parent inside the client's own
// subtree refused, the find dialog's conditions and a cancelled find, delete
// refused for clients in business documents or with clients below them, the
// look-ups and the client scope, which none of this follows.
#include <QPushButton>
#include <QToolButton>

#include "clientsfixture.h"
#include "codes/frm_dpt.h"
#include "dbcontrols.h"
#include "partners/frm_FindClient.h"

using namespace md::test;

namespace {

class ClientTree : public ClientsTest {};

TEST_F(ClientTree, AParentInsideTheClientsOwnSubtreeIsRefusedAndTheOldParentKept) {
    Tfrm_client* f = openForm();
    select(f, "C01");
    f->edit_action->trigger();
    for (const char* inside : {"C01", "S0101", "S010101"}) {
        script.clear();
        pickNode(f->Lookup_Parent, QString::fromLatin1(inside));
        EXPECT_EQ(script.texts(), QStringList{"不能选择本客户或其下级客户作为归属客户!"}) << inside;
        EXPECT_EQ(field(f, "fparentid"), "KC00") << inside;
        EXPECT_EQ(f->Lookup_Parent->currentText(), "C00") << inside;
    }
    script.clear();
    pickNode(f->Lookup_Parent, "C02");  // a client beside it is fine
    EXPECT_EQ(script.texts(), QStringList{});
    f->post_action->trigger();
    EXPECT_EQ(rows("select fparentid from dt_client where fcode='C01'"), QStringList{"KC02"});
    ASSERT_TRUE(f->DBmaster_table->Locate("fcode", "S010101"));
    EXPECT_EQ(f->dxDBTreeList1->currentIndex().parent().parent().parent().data().toString(), "C02");
}

TEST_F(ClientTree, ARingMadeMeanwhileIsStillRefusedOnSaving) {
    Tfrm_client* f = openForm();
    select(f, "C00");
    f->edit_action->trigger();
    // The record holds a parent below it, as an import or another window may leave it.
    f->DBmaster_table->FieldByName("fparentid").OnValidate = nullptr;
    f->DBmaster_table->FieldByName("fparentid").SetAsString("KS0101");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"不能选择本客户或其下级客户作为归属客户!"});
    EXPECT_EQ(rows("select fparentid from dt_client where fcode='C00'"), QStringList{" "});
}

TEST_F(ClientTree, FindAsksForWhatTheBoxesHoldAndACancelledFindListsEveryClient) {
    addClient("KF01", "KC01", "F01", "松江开元");
    db.exec(
        "update dt_client set fmathod='加盟',fgrad='经销商',fcontactman='许强',"
        "ftel1='021-5782' where fcode='F01'");
    Tfrm_client* f = openForm();
    Tfrm_FindClient* dialog = f->FindDialog();
    EXPECT_EQ(dialog->windowTitle(), "客户资料查找");
    QStringList natures, grades;
    for (int i = 0; i < dialog->Combo_Mathod->count(); ++i)
        natures << dialog->Combo_Mathod->itemText(i);
    for (int i = 0; i < dialog->Combo_Grad->count(); ++i) grades << dialog->Combo_Grad->itemText(i);
    EXPECT_EQ(natures, (QStringList{"自营", "专柜", "代理", "加盟", "批发", "外销"}));
    EXPECT_EQ(grades,
              (QStringList{"总代理", "一级代理", "二级代理", "经销商", "批发商", "一般客户"}));

    script.onDialog([&](QDialog& shown) {
        auto* find = qobject_cast<Tfrm_FindClient*>(&shown);
        EXPECT_TRUE(find);
        typeInto(find->Edit_Code, "F");
        typeInto(find->Edit_Abbrev, "开元");
        typeInto(find->Edit_Name, "松江");
        typeInto(find->Edit_Contact, "许");
        typeInto(find->Edit_Tel, "5782");
        find->Combo_Mathod->setCurrentText("加盟");
        find->Combo_Grad->setCurrentText("经销商");
        find->But_OK->click();
        return shown.result();
    });
    f->find_action->trigger();
    EXPECT_EQ(f->DBmaster_table->SQL(),
              "select * from dt_client where 1=1  and fcode like '%F%' and fabbrev like '%开元%' "
              "and fname like '%松江%' and fContactman like '%许%' and ftel1 like '%5782%' and "
              "fmathod='加盟' and fgrad='经销商' order by fcode");
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 1);
    EXPECT_EQ(topLevelCodes(f), QStringList{"F01"}) << "its parent is not in the list";

    // The boxes keep their texts; one quote in them is text, not SQL.
    script.onDialog([&](QDialog& shown) {
        auto* find = static_cast<Tfrm_FindClient*>(&shown);
        EXPECT_EQ(find->Edit_Abbrev->text(), "开元");
        for (QLineEdit* box :
             {find->Edit_Code, find->Edit_Name, find->Edit_Contact, find->Edit_Tel})
            box->clear();
        find->Edit_Abbrev->setText("O'Neil");
        find->Combo_Mathod->setCurrentText("");
        find->Combo_Grad->setCurrentText("");
        return int(QDialog::Accepted);
    });
    f->find_action->trigger();
    EXPECT_EQ(f->DBmaster_table->SQL(),
              "select * from dt_client where 1=1  and fabbrev like "
              "'%O''Neil%' order by fcode");
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 0);

    script.onDialog([](QDialog& shown) {
        static_cast<Tfrm_FindClient*>(&shown)->But_Cancel->click();
        return shown.result();
    });
    f->find_action->trigger();
    EXPECT_EQ(f->DBmaster_table->SQL(), "select * from dt_client where 1=1  order by fcode");
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 6);
    EXPECT_EQ(states(), QStringList{"进入"}) << "find writes no log";
}

TEST_F(ClientTree, AClientNamedInAnyBusinessDocumentIsNeverDeleted) {
    Tfrm_client* f = openForm();
    const char* documents[] = {"d_sale", "d_order", "d_charges", "d_payment"};
    for (const char* table : documents) {
        db.exec("delete from d_sale");
        db.exec("delete from d_order");
        db.exec("delete from d_charges");
        db.exec("delete from d_payment");
        db.exec(QStringLiteral("insert into %1(fbillid,fclientcode) values('B1','C02')")
                    .arg(QString::fromLatin1(table)));
        script.clear();
        select(f, "C02");
        f->del_action->trigger();
        EXPECT_EQ(script.texts(), QStringList{"不能删除已经发生业务的客户档案!"}) << table;
        EXPECT_EQ(db.count("dt_client where fcode='C02'"), 1) << table;
    }
    EXPECT_EQ(Tfrm_client::DocumentsSQL("C02"),
              "select top 1 fclientcode from d_sale where fclientcode='C02'\r"
              "union all\r"
              "select top 1 fclientcode from d_order where fclientcode='C02'\r"
              "union all\r"
              "select top 1 fclientcode from d_charges where fclientcode='C02'\r"
              "union all\r"
              "select top 1 fclientcode from d_payment where fclientcode='C02'\r");
    EXPECT_EQ(states(), QStringList{"进入"});
}

TEST_F(ClientTree, DeletingTakesThePhotoAlongAndLeavesNoClientWithoutItsParent) {
    db.exec("insert into Dt_ClientImage(fcode) values('C02')");
    Tfrm_client* f = openForm();
    select(f, "S0101");
    f->del_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"此客户还有下级客户，不能删除!"});
    EXPECT_EQ(db.count("dt_client where fcode='S0101'"), 1);

    script.clear();
    script.answer(md::ui::Answer::No);
    select(f, "C02");
    f->del_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"是否确认删除此记录？"});
    EXPECT_EQ(db.count("dt_client where fcode='C02'"), 1);

    f->del_action->trigger();  // answered Yes
    EXPECT_EQ(db.count("dt_client where fcode='C02'"), 0);
    EXPECT_EQ(db.count("Dt_ClientImage"), 0);
    EXPECT_EQ(topLevelCodes(f), QStringList{"C00"});
    EXPECT_EQ(states(), (QStringList{"进入", "删除"}));
    // The freed code can be given to a new client, which finds no old photo.
    script.clear();
    f->append_action->trigger();
    fillRequired(f, "C02", "宁波新甬城");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{}) << "the code is free";
    EXPECT_EQ(db.count("dt_client where fcode='C02'"), 1);
}

TEST_F(ClientTree, TheLookUpsOfferEveryClientDepartmentAndMonthlyPaidSalespersonWhateverTheScope) {
    md::Shared().ClientScopeAll = false;
    md::Shared().ClientScopeList = "'C02'";
    Tfrm_client* f = openForm();
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 5);
    EXPECT_EQ(f->DBparent->RecordCount(), 5);
    EXPECT_EQ(f->DBparent->SQL(),
              "select fid,fparentid,fcode,fabbrev,fmathod,fgrad from dt_client");
    QStringList salespersons;
    for (f->DBsalesman->First(); !f->DBsalesman->Eof(); f->DBsalesman->Next())
        salespersons << f->DBsalesman->FieldByName("fcode").AsString() + " " +
                            f->DBsalesman->FieldByName("fnamech").AsString();
    salespersons.sort();
    EXPECT_EQ(salespersons, (QStringList{"E1 李娜", "E2 王磊"})) << "no piece-rate worker";

    // The parent box shows the parent's code; its drop-down code, name, nature and grade.
    select(f, "S0101");
    EXPECT_EQ(f->Lookup_Parent->currentText(), "C01");
    EXPECT_EQ(f->Lookup_Parent->model()->columnCount(), 4);
    EXPECT_EQ(f->Lookup_Parent->toolTip(), "F5 清除归属客户");

    f->edit_action->trigger();
    pickNode(f->Lookup_Dept, "加盟部");
    choose(f->Lookup_Salesman, "E2");
    f->post_action->trigger();
    EXPECT_EQ(rows("select fdeptcode,frpdtmancode from dt_client where fcode='S0101'"),
              QStringList{"0502|E2"});
}

TEST_F(ClientTree, TheDepartmentButtonEditsDepartmentsAndTheListComesBackWithTheNewOne) {
    Tfrm_client* f = openForm();
    EXPECT_EQ(f->But_Dept->toolTip(), "部门资料编辑");
    QString shown;
    script.onDialog([&](QDialog& dialog) {
        shown = dialog.windowTitle();
        EXPECT_TRUE(qobject_cast<Tfrm_dpt*>(&dialog));
        db.exec("insert into ba_Department(fCode,fparentcode,fName) values('0503','05','批发部')");
        return int(QDialog::Accepted);
    });
    f->But_Dept->click();
    EXPECT_EQ(shown, "部门资料");
    EXPECT_EQ(f->DBdept->RecordCount(), 3);
    select(f, "C02");
    f->edit_action->trigger();
    pickNode(f->Lookup_Dept, "批发部");
    EXPECT_EQ(field(f, "fdeptcode"), "0503");
}

}  // namespace
