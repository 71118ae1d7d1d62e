// 员工档案: the save checks and when the duplicate test runs, the department
// tree's filter, a new employee's defaults, and the client window's
// salesperson list picking up a new monthly-paid employee.
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>

#include "dbcontrols.h"
#include "partners/frm_client.h"
#include "staff/frm_employee.h"
#include "stafffixture.h"
#include "treelist.h"

using namespace md::test;

namespace {

const QString kDuplicateQuery = QStringLiteral("select fcode from dt_employee where fcode=");

class Employee : public StaffTest {
  protected:
    Tfrm_employee* form() { return openShown<Tfrm_employee>(); }
    // 新增 with the tree on a department, then the code and name typed on 详细信息.
    void appendTyped(Tfrm_employee* f, const QString& code, const QString& name) {
        f->append_action->trigger();
        ASSERT_EQ(f->PageControl1->currentWidget(), f->TabDetail);
        retype(f->Edit_Code, code);
        retype(f->Edit_Name, name);
    }
    // Moves the department tree to `code` as a user does: focus and arrow keys.
    static void walkTreeTo(Tfrm_employee* f, const QString& code) {
        TDBTreeList* tree = f->dxDBTreeList1;
        tree->setFocus();
        // From the far end, so that even the first department is a move.
        QTest::keyClick(tree, Qt::Key_End);
        QTest::keyClick(tree, Qt::Key_Home);
        for (int i = 0; i < 10 && f->DBdept->FieldByName("fcode").AsString() != code; ++i)
            QTest::keyClick(tree, Qt::Key_Down);
        ASSERT_EQ(f->DBdept->FieldByName("fcode").AsString(), code);
    }
};

TEST_F(Employee, OpensOnTheWholeListWithWageModesInWords) {
    auto* f = form();
    EXPECT_EQ(f->windowTitle(), "员工档案");
    EXPECT_EQ(f->DBmaster_table->SQL(), "select * from dt_employee order by fcode");
    EXPECT_EQ(column(f->DBmaster_table, "fcode"), (QStringList{"E01", "E02", "E03", "E04", "E05"}));
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabList);
    QStringList modes;
    for (int row = 0; row < 5; ++row) {
        f->DBmaster_table->SetRecNo(row + 1);
        modes << f->DBmaster_table->FieldByName("fcaceltypename").AsString();
    }
    EXPECT_EQ(modes, (QStringList{"月度", "月度", "月度", "计件", "月度"}));
    EXPECT_EQ(f->dxDBTreeList1->treeModel()->rowCount(), 2) << "roots 01 and 02";
}

TEST_F(Employee, TheSaveChecksRefuseInOrderAndKeepTheNewRow) {
    auto* f = form();
    f->append_action->trigger();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"员工编号不能为空!"});
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);

    script.clear();
    retype(f->Edit_Code, "  ");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"员工编号不能为空!"}) << "blanks are no code";

    script.clear();
    retype(f->Edit_Code, "E09");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"员工姓名不能为空!"});
    EXPECT_EQ(script.shown().value(0).title, "系统提示");
    EXPECT_EQ(f->DBmaster_table->State(), dsInsert);

    script.clear();
    retype(f->Edit_Name, "新员工");
    f->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(" / ").toStdString();
    EXPECT_EQ(rows("select fid,fcode,fnamech from dt_employee where fcode='E09'"),
              QStringList{"E09|E09|新员工"})
        << "fid follows the code";
}

TEST_F(Employee, AUsedCodeIsRefusedForANewRowOnly) {
    auto* f = form();
    appendTyped(f, "E02", "重复者");
    db.conn().log().clear();
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"员工编号不能重复!"});
    EXPECT_EQ(statementsWith(kDuplicateQuery),
              QStringList{"select fcode from dt_employee where fcode='E02'"});
    EXPECT_EQ(rows("select fnamech from dt_employee where fcode='E02'"), QStringList{"刘芳"});
    f->cacel_action->trigger();

    // An existing employee saves without the test, even with a new code.
    script.clear();
    ASSERT_TRUE(f->DBmaster_table->Locate("fcode", "E03"));
    f->edit_action->trigger();
    EXPECT_EQ(f->PageControl1->currentWidget(), f->TabDetail);
    EXPECT_TRUE(f->grab().save(QDir::temp().filePath("P1_employee_detail.png")));
    retype(f->Edit_Name, "孙明明");
    db.conn().log().clear();
    f->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty());
    EXPECT_TRUE(statementsWith(kDuplicateQuery).isEmpty());
    EXPECT_EQ(rows("select fnamech from dt_employee where fcode='E03'"), QStringList{"孙明明"});
}

TEST_F(Employee, ACodeWithAQuoteIsLookedUpSafely) {
    auto* f = form();
    appendTyped(f, "O'1", "欧阳");
    f->post_action->trigger();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(" / ").toStdString();
    EXPECT_EQ(rows("select fnamech from dt_employee where fcode='O''1'"), QStringList{"欧阳"});
    appendTyped(f, "O'1", "重复");
    f->post_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"员工编号不能重复!"});
}

TEST_F(Employee, Department01ListsItsSubDepartmentsEmployees) {
    auto* f = form();
    walkTreeTo(f, "01");
    EXPECT_EQ(f->DBmaster_table->SQL(), Tfrm_employee::DeptFilterSQL("01"));
    EXPECT_EQ(Tfrm_employee::DeptFilterSQL("01"),
              "select * from dt_employee where 1=1 \r and fdeptcode in(select fcode from "
              "ba_Department where fparentcode like '01%' or fcode='01') \r order by fcode");
    EXPECT_EQ(column(f->DBmaster_table, "fcode"), (QStringList{"E01", "E02", "E03", "E05"}));

    walkTreeTo(f, "0102");
    EXPECT_EQ(column(f->DBmaster_table, "fcode"), QStringList{"E03"});
    walkTreeTo(f, "02");
    EXPECT_EQ(column(f->DBmaster_table, "fcode"), QStringList{"E04"});
}

TEST_F(Employee, MovingTheDepartmentsWithoutTheTreesFocusDoesNotFilter) {
    auto* f = form();
    f->cxGrid1DBTableView1->setFocus();
    ASSERT_TRUE(f->DBdept->Locate("fcode", "02"));
    EXPECT_EQ(column(f->DBmaster_table, "fcode").size(), 5);
}

TEST_F(Employee, ANewEmployeeIsMonthlyInTheTreesDepartmentAndASalesperson) {
    auto* f = form();
    walkTreeTo(f, "0102");
    appendTyped(f, "E10", "周婷");
    EXPECT_EQ(f->DBmaster_table->FieldByName("fdeptcode").AsString(), "0102");
    EXPECT_EQ(f->DBmaster_table->FieldByName("fcacelType").AsInteger(), 1);
    EXPECT_EQ(f->Combo_WageMode->currentText(), "月度");
    f->post_action->trigger();
    ASSERT_TRUE(script.texts().isEmpty()) << script.texts().join(" / ").toStdString();
    EXPECT_EQ(rows("select fdeptcode,fcacelType from dt_employee where fcode='E10'"),
              QStringList{"0102|1"});

    auto* client = open<Tfrm_client>();
    ASSERT_TRUE(client->DBsalesman->Active());
    const QStringList salesmen = column(client->DBsalesman, "fcode");
    EXPECT_TRUE(salesmen.contains("E10"));
    EXPECT_FALSE(salesmen.contains("E04")) << "piece rate";
}

TEST_F(Employee, ChoosingPieceRateStoresZero) {
    auto* f = form();
    ASSERT_TRUE(f->DBmaster_table->Locate("fcode", "E02"));
    f->edit_action->trigger();
    f->Combo_WageMode->setFocus();
    QTest::keyClick(f->Combo_WageMode, Qt::Key_Up);
    ASSERT_EQ(f->Combo_WageMode->currentText(), "计件");
    f->post_action->trigger();
    EXPECT_EQ(rows("select fcacelType from dt_employee where fcode='E02'"), QStringList{"0"});
}

TEST_F(Employee, WithoutDepartmentsNoEmployeeCanBeAdded) {
    db.exec("delete from ba_Department");
    auto* f = form();
    f->append_action->trigger();
    EXPECT_EQ(script.texts(), QStringList{"请先建立部门资料"});
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);
}

}  // namespace
