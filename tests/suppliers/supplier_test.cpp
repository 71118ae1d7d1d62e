// 供应商资料: a new supplier with its defaults, the checks before saving and
// as the code and the short name are confirmed, a changed code carried into
// every table that holds supplier codes (or nowhere, when the save fails),
// the delete refused for suppliers with business, the report.
#include <QComboBox>
#include <QSet>
#include <QTabWidget>
#include <QToolButton>

#include "codes/frm_ptype.h"
#include "dbcontrols.h"
#include "partners/frm_supplier.h"
#include "reportbridge.h"
#include "suppliersfixture.h"
#include "tsql/catalog.h"
#include "typedinput.h"

using namespace md::test;

namespace {

const QChar CR(13);

class Supplier : public SuppliersTest {
  protected:
    Tfrm_supplier* form() { return openShown<Tfrm_supplier>(); }
    static void select(Tfrm_supplier* f, const QString& code) {
        ASSERT_TRUE(f->DBmaster_table->Locate(QStringLiteral("fcode"), code));
    }
    // The tables and columns, of those named like supplier-code columns,
    // holding the value.
    QSet<QString> codeColumnsHolding(const QString& value) {
        QSet<QString> found;
        for (const md::sql::TableInfo* table : db.conn().catalog().tables()) {
            if (table->isView) continue;
            for (const md::sql::ColumnInfo& column : table->columns)
                if (column.name.compare("fsuppliercode", Qt::CaseInsensitive) == 0 &&
                    db.count(
                        QStringLiteral("%1 where %2='%3'").arg(table->name, column.name, value)) >
                        0)
                    found << table->name.toLower();
        }
        return found;
    }
    void addDocuments(const QString& code) {
        for (const char* table : {"d_receving", "d_purchase", "d_chargess", "d_payments"})
            db.exec(QStringLiteral("insert into %1(fbillid,fsuppliercode) values('B1','%2')")
                        .arg(QString::fromLatin1(table), code));
    }
};

TEST_F(Supplier, StatementsAreTheDescribedOnes) {
    EXPECT_EQ(Tfrm_supplier::InsertSQL(),
              "insert into "
              "dt_supplier(fid,fcode,fname,fabbrev,fsortcode,fareacode,keyman,contactman,tel1,"
              "tel2,fax,http,email,taxcode,invoice_name," +
                  QString(CR) +
                  "invoice_addres,addres,zipcode,remark,taxrate,begindate,first_amount,stratbit,"
                  "bank_name,bank_no,yfk_code1,yfk_code2,category,fcreatedate," +
                  CR + "fregmoney,fempqty,fgoodsstyle,fgoodsqty,fyearmoney,fgoodsitem)" + CR +
                  "values" + CR +
                  "(:fid,:fcode,:fname,:fabbrev,:fsortcode,:fareacode,:keyman,:contactman,:tel1,"
                  ":tel2,:fax,:http,:email,:taxcode,:invoice_name," +
                  CR +
                  ":invoice_addres,:addres,:zipcode,:remark,:taxrate,:begindate,:first_amount,:"
                  "stratbit,:bank_name,:bank_no,:yfk_code1,:yfk_code2,:category,:fcreatedate," +
                  CR + ":fregmoney,:fempqty,:fgoodsstyle,:fgoodsqty,:fyearmoney,:fgoodsitem)");
    EXPECT_TRUE(
        Tfrm_supplier::ModifySQL().startsWith("update dt_supplier set fcode=:fcode,fname=:fname,"));
    EXPECT_TRUE(Tfrm_supplier::ModifySQL().endsWith(",fgoodsitem=:fgoodsitem where fid=:fid"));
    EXPECT_EQ(Tfrm_supplier::DocumentsSQL("O'K"),
              "select top 1 fsuppliercode from d_receving where fsuppliercode='O''K'" +
                  QString(CR) + "union all" + CR +
                  "select top 1 fsuppliercode from d_purchase where fsuppliercode='O''K'" + CR +
                  "union all" + CR +
                  "select top 1 fsuppliercode from d_chargess where fsuppliercode='O''K'" + CR +
                  "union all" + CR +
                  "select top 1 fsuppliercode from d_payments where fsuppliercode='O''K'" + CR);
}

TEST_F(Supplier, ANewSupplierStartsWithItsDefaultsAndIsSavedWithItsCategoryAndClient) {
    Tfrm_supplier* f = form();
    EXPECT_EQ(f->windowTitle(), "供应商资料");
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabList);
    EXPECT_EQ(f->DBmaster_table->RecordCount(), 2);

    f->append_action->trigger();
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabDetail);
    EXPECT_TRUE(f->Edit_Code->hasFocus());
    EXPECT_EQ(field(f->DBmaster_table, "fid").size(), 12);
    typeInto(f->Edit_Code, "S03");
    pressEnter(f->Edit_Code);
    EXPECT_TRUE(f->Edit_Abbrev->hasFocus()) << "Enter moves on";
    typeInto(f->Edit_Abbrev, "甬辉辅料");
    typeInto(f->Edit_Name, "宁波甬辉纽扣辅料厂");
    f->Combo_Sort->setFocus();
    QTest::keyClick(f->Combo_Sort, Qt::Key_Down);
    QTest::keyClick(f->Combo_Sort, Qt::Key_Down);
    EXPECT_EQ(f->Combo_Sort->currentText(), "成衣加工厂");
    typeInto(f->Lookup_Client->lineEdit(), "c01");
    typeInto(f->Edit_RegMoney, "1.");
    typeInto(f->Edit_RegMoney, "1.5");
    EXPECT_EQ(f->Edit_RegMoney->text(), "1.5") << "the typed spelling stays";
    typeInto(f->Edit_EmpQty, "85");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select fsortcode,yfk_code2,Category,stratbit,taxrate,first_amount,fregmoney,"
                   "fempqty from dt_supplier where fcode='S03'"),
              QStringList{"03|C01|1|1|0|0|1.5|85"});
    EXPECT_EQ(states(), (QStringList{"进入", "新增", "保存"}));
    EXPECT_EQ(replaceCalls().size(), 0) << "a new supplier renames nothing";
}

TEST_F(Supplier, SaveChecksComeInTheirOrderAndNumbersMustBeNumbers) {
    Tfrm_supplier* f = form();
    f->append_action->trigger();
    auto saveAndExpect = [&](const QString& message, QWidget* focused) {
        script.clear();
        f->post_action->trigger();
        EXPECT_EQ(script.texts(), QStringList{message});
        EXPECT_EQ(f->DBmaster_table->State(), dsInsert);
        EXPECT_TRUE(focused->hasFocus()) << message;
    };
    f->ShowListPage();
    saveAndExpect("供应商编号不能为空！", f->Edit_Code);
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabDetail) << "the page of the check";
    typeInto(f->Edit_Code, "S03");
    saveAndExpect("供应商简称不能为空！", f->Edit_Abbrev);
    typeInto(f->Edit_Abbrev, "新供应商");
    saveAndExpect("供应商名称不能为空！", f->Edit_Name);
    typeInto(f->Edit_Name, "新供应商有限公司");
    typeInto(f->Edit_RegMoney, "五百万");
    saveAndExpect("注册资本必须是数字!", f->Edit_RegMoney);
    typeInto(f->Edit_RegMoney, "-1");
    saveAndExpect("注册资本不能为负数!", f->Edit_RegMoney);
    typeInto(f->Edit_RegMoney, "512000");
    typeInto(f->Edit_EmpQty, "8.5");
    saveAndExpect("员工人数必须是整数!", f->Edit_EmpQty);
    typeInto(f->Edit_EmpQty, "");
    typeInto(f->Edit_YearMoney, "-3");
    saveAndExpect("营业总额不能为负数!", f->Edit_YearMoney);
    EXPECT_EQ(db.count("dt_supplier"), 2);
    typeInto(f->Edit_YearMoney, "0");
    script.clear();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select fregmoney,isnull(fempqty,-1),fyearmoney from dt_supplier where "
                   "fcode='S03'"),
              QStringList{"512000|-1|0"});
    EXPECT_EQ(states(), (QStringList{"进入", "新增", "保存"})) << "refused saves log nothing";
}

TEST_F(Supplier, ATakenCodeIsRefusedAsEnteredAndAnotherSuppliersShortNameOnlyWarned) {
    Tfrm_supplier* f = form();
    f->append_action->trigger();
    typeInto(f->Edit_Code, "s01");
    pressEnter(f->Edit_Code);
    EXPECT_EQ(script.texts(), QStringList{"此供应商编号已存在，请重新录入！"});
    EXPECT_EQ(f->Edit_Code->text(), "");
    EXPECT_TRUE(f->Edit_Code->hasFocus());
    // Typed and saved at once: the same check, before the others.
    script.clear();
    typeInto(f->Edit_Code, "S02");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"此供应商编号已存在，请重新录入！"});
    f->cacel_action->trigger();

    // A saved supplier keeps its own code, and may not take another's.
    script.clear();
    select(f, "S02");
    f->edit_action->trigger();
    typeInto(f->Edit_Code, "S02");
    pressEnter(f->Edit_Code);
    typeInto(f->Edit_Code, "S01");
    pressEnter(f->Edit_Code);
    EXPECT_EQ(script.texts(), QStringList{"此供应商编号已存在，请重新录入！"});
    EXPECT_EQ(f->Edit_Code->text(), "S02");

    script.clear();
    typeInto(f->Edit_Abbrev, "华纺面料");
    pressEnter(f->Edit_Abbrev);
    EXPECT_EQ(script.texts(), QStringList{"已经存在此简称的供应商!"});
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"已经存在此简称的供应商!"}) << "warned once, saved";
    EXPECT_EQ(db.count("dt_supplier where fabbrev='华纺面料'"), 2);
}

TEST_F(Supplier, ARenamedSupplierTakesItsCodeIntoEveryTableOnceAndCancelRenamesNothing) {
    addDocuments("S01");
    Tfrm_supplier* f = form();
    select(f, "S01");
    f->edit_action->trigger();
    typeInto(f->Edit_Code, "S09");
    f->cacel_action->trigger();
    script.clear();
    EXPECT_EQ(f->DBmaster_table->FieldByName("fcode").AsString(), "S01");
    f->edit_action->trigger();
    typeInto(f->Edit_Name, "华纺面料集团");
    f->post_action->trigger();
    EXPECT_EQ(replaceCalls().size(), 0);

    f->edit_action->trigger();
    typeInto(f->Edit_Code, "S09");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(replaceCalls(), QStringList{"exec P_replaceSupplier 'S01','S09'"});
    const QSet<QString> all = {"d_receving", "d_purchase", "d_chargess", "d_payments",
                               "dt_supplierprice"};
    EXPECT_EQ(codeColumnsHolding("S01"), QSet<QString>{});
    EXPECT_EQ(codeColumnsHolding("S09"), all);
    EXPECT_EQ(db.count("Dt_SupplierPrice where fsuppliercode='S09'"), 2);
    EXPECT_EQ(db.count("Dt_SupplierPrice where fsuppliercode='S02'"), 1) << "others stay";
}

TEST_F(Supplier, ARenameTheTablesRefuseLeavesEverythingAsItWasAndTheChangeToSaveAgain) {
    addDocuments("S01");
    // A quote left under the new code by a supplier long gone clashes with S01's.
    addQuote("S09", "G001", "2026-03-01", 1, 1);
    Tfrm_supplier* f = form();
    select(f, "S01");
    f->edit_action->trigger();
    typeInto(f->Edit_Code, "S09");
    f->post_action->trigger();
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_EQ(rows("select fcode from dt_supplier order by fcode"), (QStringList{"S01", "S02"}));
    EXPECT_EQ(codeColumnsHolding("S01").size(), 5);
    EXPECT_EQ(field(f->DBmaster_table, "fcode"), "S09") << "the change is kept";

    db.exec("delete from Dt_SupplierPrice where fsuppliercode='S09'");
    script.clear();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{});
    EXPECT_EQ(rows("select fcode from dt_supplier order by fcode"), (QStringList{"S02", "S09"}));
    EXPECT_EQ(codeColumnsHolding("S01"), QSet<QString>{});
}

TEST_F(Supplier, ASupplierWithBusinessIsNotDeletedAndAnotherGoesWithItsQuotes) {
    Tfrm_supplier* f = form();
    select(f, "S01");
    for (const char* table : {"d_receving", "d_purchase", "d_chargess", "d_payments"}) {
        db.exec(QStringLiteral("insert into %1(fbillid,fsuppliercode) values('B1','S01')")
                    .arg(QString::fromLatin1(table)));
        script.clear();
        f->del_action->trigger();
        EXPECT_EQ(script.texts(), QStringList{"不能删除已经发生业务的供应商档案!"}) << table;
        db.exec(QStringLiteral("delete from %1").arg(QString::fromLatin1(table)));
    }
    EXPECT_EQ(db.count("dt_supplier"), 2);

    script.clear();
    script.answer(md::ui::Answer::No);
    f->del_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"是否确认删除此记录？"});
    EXPECT_EQ(db.count("dt_supplier"), 2);
    f->del_action->trigger();
    EXPECT_EQ(rows("select fcode from dt_supplier"), QStringList{"S02"});
    EXPECT_EQ(rows("select distinct fsuppliercode from Dt_SupplierPrice"), QStringList{"S02"});
}

TEST_F(Supplier, TheCategoryButtonOpensTheCategoriesAndTheListFollows) {
    Tfrm_supplier* f = form();
    QString opened;
    script.onDialog([&](QDialog& dialog) {
        opened = dialog.windowTitle();
        db.exec("insert into ba_Ptype(fID,fCode,fName) values('02','02','辅料供应商')");
        return int(QDialog::Rejected);
    });
    f->append_action->trigger();
    f->But_Sort->click();
    EXPECT_EQ(opened, "供应商类别");
    EXPECT_GE(f->Combo_Sort->findText("辅料供应商"), 0);
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert) << "the new supplier stays";
}

TEST_F(Supplier, ExportOpensTheSupplierReport) {
    Tfrm_supplier* f = form();
    f->excel_action->trigger();
    EXPECT_EQ(db.count("syslog where modename='供应商资料' and fstate='导出'"), 1);
    auto* report = qobject_cast<QWidget*>(md::lastReportWindow());
    if (!report) GTEST_SKIP() << "no report plug-in beside the test program";
    EXPECT_EQ(report->windowTitle(), "供应商资料表");
    auto* list = report->findChild<TRemoteUdpDataSet*>("DBmaster_table");
    ASSERT_NE(list, nullptr);
    QStringList shown;
    for (list->First(); !list->Eof(); list->Next())
        shown << field(list, "fcode") + "|" + field(list, "fsortname");
    EXPECT_EQ(shown, (QStringList{"S01|面料供应商", "S02|成衣加工厂"}));
    report->close();
}

}  // namespace
