// 员工排班表: the month's columns, saving every day of every employee, and
// quick scheduling from a weekly pattern.
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "attendancefixture.h"
#include "griddelegate.h"
#include "procedures/kqempbanci.h"
#include "staff/frm_KQ_BanCiMonth.h"
#include "staff/frm_KQ_EmpBanci.h"
#include "staff/frm_KQ_QuickPB.h"

namespace md::test {
namespace {

class ScheduleTest : public AttendanceTest {
  protected:
    ~ScheduleTest() override { delete Tfrm_KQ_BanCiMonth::ScheduleForm(); }

    Tfrm_KQ_EmpBanci* openMonth(int year, int month) {
        auto* m = open<Tfrm_KQ_BanCiMonth>();
        m->Spin_Year->setValue(year);
        m->Spin_Month->setValue(month);
        m->But_OK->click();
        return Tfrm_KQ_BanCiMonth::ScheduleForm();
    }
    // One employee's shifts of the month as saved, "day:code" for days with one.
    QStringList saved(const QString& employee) {
        QStringList out;
        for (const QString& row :
             rows("select fbilldate,fbancicode from KQ_EmpBanCi where fempcode=" +
                  QuotedStr(employee) + " order by fbilldate")) {
            const QStringList cells = row.split('|');
            if (!cells.value(1).isEmpty() && cells.value(1) != "NULL")
                out << QString::number(cells.at(0).right(2).toInt()) + ":" + cells.at(1);
        }
        return out;
    }
    // Runs 快速排班 on the schedule: `prepare` checks employees and sets the pattern.
    void quick(Tfrm_KQ_EmpBanci* s, const std::function<void(Tfrm_KQ_QuickPB&)>& prepare) {
        script.onDialog([&](QDialog& d) {
            auto* q = qobject_cast<Tfrm_KQ_QuickPB*>(&d);
            prepare(*q);
            q->But_PB->click();
            return q->result();
        });
        s->But_Quick->click();
    }
    static void check(Tfrm_KQ_QuickPB& q, const QStringList& codes) {
        TRemoteUdpDataSet& ds = *q.DBEmp;
        for (ds.First(); !ds.Eof(); ds.Next())
            if (codes.contains(ds.FieldByName("fcode").AsString())) {
                ds.Edit();
                ds.FieldByName("fcheck").SetAsBoolean(true);
                ds.Post();
            }
    }
    static void weekdaysAndWeekendOff(Tfrm_KQ_QuickPB& q) {
        for (int weekday = 1; weekday <= 7; ++weekday)
            q.SetPatternShift(weekday, weekday >= 6 ? "OFF" : "A");
    }
};

TEST_F(ScheduleTest, LeapFebruaryHasItsWeekdaysAndTheHeadingNamesTheMonth) {
    Tfrm_KQ_EmpBanci* s = openMonth(2024, 2);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->windowTitle(), "员工排班表");
    EXPECT_EQ(s->Label_Title->text(), "排班表(年份:2024  月度:2)");
    const QStringList days = s->DayColumns();
    ASSERT_EQ(days.size(), 29);
    EXPECT_EQ(days.first(), "1日(星期四)");
    EXPECT_EQ(days.at(3), "4日(星期日)");
    EXPECT_EQ(days.last(), "29日(星期四)");
    EXPECT_EQ(s->DBmaster_table->Fields(0).FieldName(), "员工编号");
    EXPECT_EQ(md::server::EmpBanciDayColumn(2100, 3, 1), "1日(星期一)");
    // Employees who have not left, in code order.
    EXPECT_EQ(rows("select count(*) from KQ_EmpBanCi"), QStringList({"0"}));
    QStringList codes;
    for (s->DBmaster_table->First(); !s->DBmaster_table->Eof(); s->DBmaster_table->Next())
        codes << s->DBmaster_table->FieldByName("员工编号").AsString();
    EXPECT_EQ(codes, QStringList({"E01", "E02", "E03"}));
}

TEST_F(ScheduleTest, SavingWritesEveryDayOfEveryEmployeeAndClosesTheWindow) {
    db.exec(
        "insert into KQ_EmpBanCi(fbilldate,fempcode,fbancicode) values('2026-11-05','E01','C')");
    db.exec(
        "insert into KQ_EmpBanCi(fbilldate,fempcode,fbancicode) values('2026-12-05','E01','C')");
    db.exec(
        "insert into KQ_EmpBanCi(fbilldate,fempcode,fbancicode) values('2026-11-05','E09','A')");
    QPointer<Tfrm_KQ_EmpBanci> s = openMonth(2026, 11);
    TRemoteUdpDataSet& grid = *s->DBmaster_table;
    EXPECT_EQ(grid.RecordCount(), 4) << "E09 has left but has a shift this month";
    ASSERT_TRUE(grid.Locate("员工编号", "E01"));
    EXPECT_EQ(grid.FieldByName("5日(星期四)").AsString(), "C");
    const int e01 = grid.RecNo() - 1;
    EXPECT_EQ(shownRow(s->cxGrid1->View(), e01).at(7), "夜班") << "cells show the shift's name";
    // Typed into the day's cell editor.
    TDBTableView* v = s->cxGrid1->View();
    v->setCurrentIndex(v->model()->index(e01, v->SectionOf("2日(星期一)")));
    v->edit(v->currentIndex());
    QWidget* editor = qobject_cast<TGridDelegate*>(v->itemDelegate())->openEditor();
    ASSERT_NE(editor, nullptr);
    QWidget* line = editor->focusProxy() ? editor->focusProxy() : editor;
    QTest::keyClicks(line, "OFF");
    QTest::keyClick(line, Qt::Key_Return);
    v->PostEditor();
    if (grid.InEditState()) grid.Post();
    EXPECT_EQ(grid.FieldByName("2日(星期一)").AsString(), "OFF");
    s->grab().save(QDir::temp().filePath("p2_schedule.png"));
    // The day off is drawn highlighted, the working day beside it is not.
    v->setCurrentIndex(v->model()->index(3, 0));
    const QImage cells = v->viewport()->grab().toImage();
    auto colourAt = [&](const char* field) {
        const QRect r = v->visualRect(v->model()->index(e01, v->SectionOf(field)));
        return cells.pixelColor(r.right() - 3, r.center().y());
    };
    EXPECT_NE(colourAt("2日(星期一)"), colourAt("3日(星期二)"));

    s->But_Save->click();
    EXPECT_TRUE(script.texts().isEmpty()) << script.texts().join("; ").toStdString();
    flushDeletes();
    EXPECT_TRUE(s.isNull()) << "保存 closes the window";
    EXPECT_EQ(rows("select count(*) from KQ_EmpBanCi where fbilldate like '2026-11-%'"),
              QStringList({"120"}));
    EXPECT_EQ(rows("select count(*) from KQ_EmpBanCi where fempcode='E02' and "
                   "isnull(fbancicode,'')=''"),
              QStringList({"30"}));
    EXPECT_EQ(saved("E01"), QStringList({"2:OFF", "5:C", "5:C"})) << "December stays";
    EXPECT_EQ(saved("E09"), QStringList({"5:A"}));
}

TEST_F(ScheduleTest, WeekendPatternFillsAThirtyDayMonth) {
    Tfrm_KQ_EmpBanci* s = openMonth(2026, 11);  // 2026-11-01 is a Sunday
    int proposedLast = 0;
    QStringList listed;
    quick(s, [&](Tfrm_KQ_QuickPB& q) {
        proposedLast = q.Spin_DayTo->value();
        for (q.DBEmp->First(); !q.DBEmp->Eof(); q.DBEmp->Next())
            listed << q.DBEmp->FieldByName("fcode").AsString();
        check(q, {"E01"});
        weekdaysAndWeekendOff(q);
    });
    EXPECT_EQ(proposedLast, 30);
    listed.sort();  // the query has no order
    EXPECT_EQ(listed, QStringList({"E01", "E02", "E03"})) << "only employees who have not left";
    s->But_Save->click();
    QStringList expected;
    for (int day = 1; day <= 30; ++day)
        expected << QString::number(day) + ":" +
                        (QDate(2026, 11, day).dayOfWeek() >= 6 ? "OFF" : "A");
    EXPECT_EQ(saved("E01"), expected);
    EXPECT_TRUE(saved("E02").isEmpty());
}

TEST_F(ScheduleTest, DaysBeforeJoiningStayAndMissingEmployeesAreSkipped) {
    db.exec(
        "insert into KQ_EmpBanCi(fbilldate,fempcode,fbancicode) values('2026-11-03','E03','C')");
    Tfrm_KQ_EmpBanci* s = openMonth(2026, 11);
    quick(s, [&](Tfrm_KQ_QuickPB& q) {
        // The left employee is listed once the filter is used, but has no row in the month.
        q.Edit_Code->setText("E0");
        emit q.Edit_Code->returnPressed();
        check(q, {"E03", "E09"});
        q.Spin_DayFrom->setValue(1);
        q.Spin_DayTo->setValue(12);
        weekdaysAndWeekendOff(q);
        q.SetPatternShift(3, "");  // Wednesdays emptied
    });
    EXPECT_TRUE(script.texts().isEmpty());
    TRemoteUdpDataSet& grid = *s->DBmaster_table;
    ASSERT_TRUE(grid.Locate("员工编号", "E03"));
    QStringList days;
    for (int day = 1; day <= 13; ++day) days << grid.Fields(2 + day).AsString();
    EXPECT_EQ(days.join(','), ",,C,,,,,,,A,,A,") << "joined on the 10th, a Tuesday";
    EXPECT_FALSE(grid.Locate("员工编号", "E09"));
}

TEST_F(ScheduleTest, NothingCheckedOrARangePastTheMonthEndIsReported) {
    Tfrm_KQ_EmpBanci* s = openMonth(2026, 2);
    quick(s, [&](Tfrm_KQ_QuickPB& q) { weekdaysAndWeekendOff(q); });
    EXPECT_EQ(script.texts(), QStringList({"请先选择要排班的员工！"}));
    s->But_Save->click();
    EXPECT_EQ(rows("select count(*) from KQ_EmpBanCi where isnull(fbancicode,'')<>''"),
              QStringList({"0"}));

    s = openMonth(2026, 2);
    script.clear();
    quick(s, [&](Tfrm_KQ_QuickPB& q) {
        check(q, {"E01", "E02"});
        q.Spin_DayTo->setValue(31);
        weekdaysAndWeekendOff(q);
    });
    EXPECT_EQ(
        script.texts(),
        QStringList({"2026-02-29 不是有效的日期，本月最后一天是 2026-02-28，排班到此为止！"}));
    TRemoteUdpDataSet& grid = *s->DBmaster_table;
    ASSERT_TRUE(grid.Locate("员工编号", "E01"));
    EXPECT_EQ(grid.Fields(3 + 27).AsString(), "OFF") << "28th, a Saturday, was scheduled";
    ASSERT_TRUE(grid.Locate("员工编号", "E02"));
    EXPECT_EQ(grid.Fields(3).AsString(), "") << "scheduling stopped at the first missing day";
}

TEST_F(ScheduleTest, WithoutTheEditRightTheGridAndSaveAreOff) {
    db.exec("update dr_rightdetail set b_edit=0");
    Tfrm_KQ_EmpBanci* s = openMonth(2026, 11);
    EXPECT_FALSE(s->cxGrid1->isEnabled());
    EXPECT_FALSE(s->But_Save->isEnabled());
}

}  // namespace
}  // namespace md::test
