// 员工工资项设定: system items handed to every employee once, additions and
// deductions kept apart, deductions stored negative and read back unchanged,
// the save on moving to another employee, 取消, and refused input.
#include <QDir>
#include <QPushButton>
#include <algorithm>

#include "staff/frm_KQ_Emp_Wages.h"
#include "wagesfixture.h"

namespace md::test {
namespace {

class EmpWagesTest : public WagesTest {
  protected:
    Tfrm_KQ_Emp_Wages* openWages() {
        auto* f = openShown<Tfrm_KQ_Emp_Wages>();
        lines = f->cxGridWages->View();
        employees = f->cxGridEmp->View();
        return f;
    }
    // Opened, and the user clicks the employee (the departments' order is
    // the server's collation).
    Tfrm_KQ_Emp_Wages* openWagesAt(const QString& code) {
        auto* f = openWages();
        chooseEmployee(f, code);
        EXPECT_EQ(f->DBEmp->FieldByName("fcode").AsString(), code);
        return f;
    }
    // The user clicks the employee's row in the employee list.
    static void chooseEmployee(Tfrm_KQ_Emp_Wages* f, const QString& code) {
        TDBTableView* v = f->cxGridEmp->View();
        v->setFocus();
        for (int r = 0; r < v->reportRowCount(); ++r)
            if (v->reportText(r, 1) == code)
                QTest::mouseClick(v->viewport(), Qt::LeftButton, {},
                                  v->visualRect(v->model()->index(r, 1)).center());
    }
    // The row of the line of item `code`.
    int lineOf(Tfrm_KQ_Emp_Wages*, const QString& code) {
        for (int r = 0; r < lines->reportRowCount(); ++r)
            if (lines->reportText(r, 0) == code) return r;
        ADD_FAILURE() << "no line " << code.toStdString();
        return 0;
    }
    TDBTableView* lines = nullptr;
    TDBTableView* employees = nullptr;
};

const QStringList kSystemItemsAtZero = {"01|0", "02|0", "05|0"};

TEST_F(EmpWagesTest, OpeningHandsEverySystemItemToEveryEmployeeOnce) {
    auto* f = openWagesAt("E01");
    EXPECT_EQ(f->windowTitle(), "员工工资项设定");
    EXPECT_EQ(pay("E02"), kSystemItemsAtZero);
    EXPECT_EQ(pay("E03"), kSystemItemsAtZero);
    EXPECT_EQ(pay("E01"), QStringList({"01|5000", "02|0", "04|-60", "05|-380"}))
        << "E01 keeps his amounts and gets only what he lacked";
    // The employees by department; E01's lines beside them, zero amounts blank.
    EXPECT_EQ(shownRow(employees, f->DBEmp->RecNo() - 1), QStringList({"营运部", "E01", "张伟"}));
    EXPECT_EQ(shownRow(lines, lineOf(f, "01")),
              QStringList({"01", "基本工资", "增项", "5000.00", "", "5000.00"}));
    EXPECT_EQ(shownRow(lines, lineOf(f, "02")), QStringList({"02", "全勤奖", "增项", "", "", ""}));
    EXPECT_EQ(shownRow(lines, lineOf(f, "04")),
              QStringList({"04", "迟到扣款", "减项", "", "60.00", "-60.00"}));
    EXPECT_EQ(shownRow(lines, lineOf(f, "05")),
              QStringList({"05", "社保扣款", "减项", "", "380.00", "-380.00"}));
    EXPECT_EQ(lines->reportFooter(0), "合计");
    EXPECT_EQ(lines->reportFooter(3).trimmed(), "5000.00");
    EXPECT_EQ(lines->reportFooter(4).trimmed(), "440.00");
    EXPECT_EQ(lines->reportFooter(5).trimmed(), "4560.00");
    f->grab().save(QDir::temp().filePath("q2_empwages.png"));
    f->But_OK->click();
    flushDeletes();

    // A new employee and a new system item: opening again adds just those.
    addEmployee("E04", "李娜", "02");
    addItem("06", "岗位津贴", 1, 300, false, true);
    const QString before = rows("select count(*) from kq_empwages").first();
    openWages();
    EXPECT_EQ(pay("E04"), QStringList({"01|0", "02|0", "05|0", "06|0"}));
    EXPECT_EQ(rows("select count(*) from kq_empwages").first().toInt(), before.toInt() + 4 + 3);
    closeForms();
    openWages();
    EXPECT_EQ(rows("select count(*) from kq_empwages").first().toInt(), before.toInt() + 7)
        << "nothing more the next time";
}

TEST_F(EmpWagesTest, AdditionLineKeepsNoDeductionAndDeductionLineNoAddition) {
    auto* f = openWagesAt("E01");
    typeIntoCell(lines, lineOf(f, "01"), "fSubMoney", "30");
    typeIntoCell(lines, lineOf(f, "01"), "fAddMoney", "5200");
    typeIntoCell(lines, lineOf(f, "05"), "fAddMoney", "99");
    typeIntoCell(lines, lineOf(f, "05"), "fSubMoney", "400");
    f->DBLines->CheckBrowseMode();
    EXPECT_EQ(shownRow(lines, lineOf(f, "01")),
              QStringList({"01", "基本工资", "增项", "5200.00", "", "5200.00"}));
    EXPECT_EQ(shownRow(lines, lineOf(f, "05")),
              QStringList({"05", "社保扣款", "减项", "", "400.00", "-400.00"}));
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(";").toStdString();
    f->But_OK->click();
    EXPECT_EQ(pay("E01"), QStringList({"01|5200", "02|0", "04|-60", "05|-400"}));
}

TEST_F(EmpWagesTest, SavedAndReadAgainEveryLineIsUnchanged) {
    auto* f = openWagesAt("E02");
    typeIntoCell(lines, lineOf(f, "01"), "fAddMoney", "4000.5");
    typeIntoCell(lines, lineOf(f, "05"), "fSubMoney", "380");
    // A new line: the item chosen by its code brings its name and mode.
    lines->setFocus();
    lines->setCurrentIndex(lines->model()->index(lines->reportRowCount() - 1, 0));
    QTest::keyClick(lines, Qt::Key_Down);
    ASSERT_EQ(f->DBLines->State(), dsInsert);
    typeIntoCell(lines, f->DBLines->RecNo() - 1, "fwagesitemcode", "04");
    EXPECT_EQ(f->DBLines->FieldByName("fwagesItemname").AsString(), "迟到扣款");
    EXPECT_EQ(f->DBLines->FieldByName("fempcode").AsString(), "E02");
    typeIntoCell(lines, f->DBLines->RecNo() - 1, "fSubMoney", "-20");  // a refund
    f->DBLines->CheckBrowseMode();
    const QList<QStringList> shown = shownRows(lines);
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown.at(3), QStringList({"04", "迟到扣款", "减项", "", "-20.00", "20.00"}));

    f->But_OK->click();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join(";").toStdString();
    EXPECT_EQ(pay("E02"), QStringList({"01|4000.5", "02|0", "04|20", "05|-380"}));
    flushDeletes();

    auto* again = openWagesAt("E02");
    // The same lines, in the order the server reads them.
    QList<QStringList> read = shownRows(lines), typed = shown;
    std::sort(read.begin(), read.end());
    std::sort(typed.begin(), typed.end());
    EXPECT_EQ(read, typed);
    // Saving what was read changes nothing.
    again->But_OK->click();
    EXPECT_EQ(pay("E02"), QStringList({"01|4000.5", "02|0", "04|20", "05|-380"}));
}

TEST_F(EmpWagesTest, MovingToAnotherEmployeeSavesTheLinesOfTheOneLeft) {
    auto* f = openWagesAt("E01");
    typeIntoCell(lines, lineOf(f, "02"), "fAddMoney", "200");
    typeIntoCell(lines, lineOf(f, "04"), "fSubMoney", "40");
    chooseEmployee(f, "E03");
    EXPECT_EQ(f->DBEmp->FieldByName("fcode").AsString(), "E03");
    EXPECT_EQ(pay("E01"), QStringList({"01|5000", "02|200", "04|-40", "05|-380"}));
    EXPECT_EQ(shownRow(lines, 0).at(0), "01");
    EXPECT_EQ(lines->reportRowCount(), 3) << "E03's lines";
    // And back: E01's lines as saved.
    chooseEmployee(f, "E01");
    EXPECT_EQ(shownRow(lines, lineOf(f, "04")),
              QStringList({"04", "迟到扣款", "减项", "", "40.00", "-40.00"}));
}

TEST_F(EmpWagesTest, CancelAsksAboutChangesAndThenDropsThem) {
    auto* f = openWagesAt("E01");
    typeIntoCell(lines, lineOf(f, "01"), "fAddMoney", "9999");
    script.answer(md::ui::Answer::No);
    f->But_Cancel->click();
    EXPECT_EQ(script.texts(), QStringList({"是否确认取消？"}));
    EXPECT_TRUE(f->isVisible()) << "No keeps the window";
    f->But_Cancel->click();
    EXPECT_EQ(script.texts().size(), 2);
    EXPECT_EQ(pay("E01"), QStringList({"01|5000", "02|0", "04|-60", "05|-380"}));
    flushDeletes();

    // Without changes it closes at once.
    script.clear();
    auto* unchanged = openWages();
    QPointer<Tfrm_KQ_Emp_Wages> watch = unchanged;
    unchanged->But_Cancel->click();
    flushDeletes();
    EXPECT_TRUE(script.texts().isEmpty());
    EXPECT_TRUE(watch.isNull());
}

TEST_F(EmpWagesTest, RefusedInputChangesNothing) {
    auto* f = openWagesAt("E01");
    const int basic = lineOf(f, "01");
    // Letters never reach the amount's editor; a lone minus is no number.
    QLineEdit* cell = openCell(lines, basic, "fAddMoney");
    ASSERT_NE(cell, nullptr);
    typeInto(cell, "abc", false);
    EXPECT_TRUE(cell->text().isEmpty());
    typeInto(cell, "-");
    EXPECT_EQ(script.texts(), QStringList({"增项金额必须是数字!"}));
    lines->CancelEditor();
    // An item code that is no item.
    script.clear();
    lines->setCurrentIndex(lines->model()->index(lines->reportRowCount() - 1, 0));
    QTest::keyClick(lines, Qt::Key_Down);
    typeIntoCell(lines, f->DBLines->RecNo() - 1, "fwagesitemcode", "99");
    EXPECT_EQ(script.texts(), QStringList({"工资项目编号不存在,请重新选择!"}));
    lines->CancelEditor();
    // An amount without an item, then an item the employee already has.
    script.clear();
    typeIntoCell(lines, f->DBLines->RecNo() - 1, "fAddMoney", "10");
    f->But_OK->click();
    typeIntoCell(lines, f->DBLines->RecNo() - 1, "fwagesitemcode", "05");
    f->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList({"请选择工资项目!", "此工资项目已存在,请重新选择!"}));
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(pay("E01"), QStringList({"01|5000", "02|0", "04|-60", "05|-380"}));
    EXPECT_EQ(shownRow(lines, basic).at(3), "5000.00");
}

}  // namespace
}  // namespace md::test
