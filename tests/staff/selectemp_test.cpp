// 员工选择: the filter bar's query, who is offered, "全选", and what the caller
// gets after OK and Cancel.
#include "selectemp.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include "editors.h"
#include "stafffixture.h"
#include "treelookup.h"

using namespace md::test;

namespace {

class SelectEmp : public StaffTest {
  protected:
    Tfrm_selectEmp* dialog() {
        auto* d = open<Tfrm_selectEmp>();
        d->OpenLists();
        return d;
    }
    static QStringList codes(const Tfrm_selectEmp* d) {
        return sorted(column(d->DBmaster_table, "fcode"));
    }
    static QStringList picked(const QList<TPickedEmployee>& rows) {
        QStringList out;
        for (const TPickedEmployee& e : rows)
            out << e.fcode + "|" + e.fnamech + "|" + e.fsex + "|" + e.deptname + "|" + e.typeName;
        return sorted(out);
    }
};

TEST_F(SelectEmp, OffersEveryoneStillEmployedWithDepartmentAndTypeNames) {
    auto* d = dialog();
    EXPECT_EQ(d->windowTitle(), "员工选择");
    EXPECT_EQ(codes(d), (QStringList{"E01", "E02", "E03", "E04"})) << "E05 has left";
    EXPECT_EQ(d->DBdept->SQL(), "select * from v_dept");
    EXPECT_EQ(sorted(column(d->DBdept, "fname")),
              sorted({"营运部", "直营管理部", "加盟管理部", "财务部"}));
}

TEST_F(SelectEmp, TheFilterBarNarrowsByCodeNameDepartmentAndType) {
    EXPECT_EQ(Tfrm_selectEmp::FilterSQL("E0", "张", "营运部", "正式员工"),
              "select * from FN_EmpSelect() where 1=1  and fcode like '%E0%'\r and fnamech like "
              "'%张%'\r and deptname='营运部'\r and typename='正式员工'\r");
    EXPECT_EQ(Tfrm_selectEmp::FilterSQL("", "", "", ""), "select * from FN_EmpSelect() where 1=1 ");

    auto* d = dialog();
    d->show();
    QApplication::setActiveWindow(d);
    retype(d->Edit_name, "刘");
    QTest::keyClick(d->Edit_name, Qt::Key_Return);
    EXPECT_EQ(codes(d), QStringList{"E02"}) << "Enter in the name box searches";

    d->Edit_name->clear();
    d->Lookup_dept->setKeyValue("0102");
    EXPECT_EQ(d->ChosenDeptName(), "加盟管理部");
    d->But_Find->click();
    EXPECT_EQ(codes(d), QStringList{"E03"}) << "the department's own employees, by name";

    d->Lookup_dept->setKeyValue(QString());
    d->Combo_type->setKeyValue("正式员工");
    d->But_Find->click();
    EXPECT_EQ(codes(d), (QStringList{"E01", "E02", "E04"}));

    d->Combo_type->setKeyValue(QString());
    retype(d->Edit_code, "'x");
    d->But_Find->click();
    EXPECT_TRUE(script.texts().isEmpty()) << "a quote in the box is only text";
    EXPECT_TRUE(codes(d).isEmpty());
}

TEST_F(SelectEmp, OkGivesTheMarkedRowsAndCancelNone) {
    script.onDialog([&](QDialog& shown) {
        auto* d = qobject_cast<Tfrm_selectEmp*>(&shown);
        if (!d) return int(QDialog::Rejected);
        d->show();
        QApplication::setActiveWindow(d);
        d->CheckBox_all->click();
        EXPECT_EQ(d->CheckedRows().size(), 4);
        d->CheckBox_all->click();
        EXPECT_TRUE(d->CheckedRows().isEmpty());
        // A click on the mark of E03's row ticks it.
        const int row = int(column(d->DBmaster_table, "fcode").indexOf("E03"));
        QTest::mouseClick(d->cxGrid1DBTableView1->viewport(), Qt::LeftButton, {},
                          cell(d->cxGrid1DBTableView1, row, "checkid").center());
        QApplication::processEvents();
        EXPECT_TRUE(d->grab().save(QDir::temp().filePath("P1_selectemp.png")));
        d->But_OK->click();
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(picked(md::ui::PickEmployees(nullptr)),
              QStringList{"E03|孙明|男|加盟管理部|试用员工"});

    script.onDialog([](QDialog& shown) {
        auto* d = qobject_cast<Tfrm_selectEmp*>(&shown);
        d->CheckBox_all->click();
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(md::ui::PickEmployees(nullptr).isEmpty());
}

}  // namespace
