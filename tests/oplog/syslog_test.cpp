// The operation log window: nothing is read before "检索"; the search finds
// the days of the range by their date, not their text, under the hourglass;
// a reversed range is refused; the grid takes no input.
#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QTest>

#include "codes/frm_syslog.h"
#include "grid.h"
#include "gridmodel.h"
#include "oplogfixture.h"
#include "remoteudpdataset.h"

using namespace md::test;

namespace {

class Syslog : public OplogTest {
  protected:
    // Typed as a user does: into the year, the digits carrying on into month and day.
    static void typeDate(QDateEdit* edit, const char* digits) {
        edit->setFocus();
        edit->setSelectedSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(edit, digits);
    }
    void search(Tfrm_syslog* f, const char* begin, const char* end) {
        typeDate(f->DateEdit_begin, begin);
        typeDate(f->DateEdit_end, end);
        db.conn().log().clear();
        QTest::mouseClick(f->But_Find, Qt::LeftButton);
    }
    static QStringList found(Tfrm_syslog* f) {
        QStringList out;
        TRemoteUdpDataSet* ds = f->DBmaster_table;
        for (ds->First(); !ds->Eof(); ds->Next()) out << ds->FieldByName("fstate").AsString();
        out.sort();
        return out;
    }
};

TEST_F(Syslog, FindsTheDaysOfTheRangeOnlyAfterSearchAndRefusesAReversedOne) {
    for (const char* row :
         {"2024-02-28|前", "2024-02-29|首", "2024-3-5|短", "2024-03-31|末", "2024-04-01|后"}) {
        const QStringList v = QString::fromUtf8(row).split('|');
        logEntry(v[0], "12:00:00", v[1]);
    }
    db.conn().log().clear();
    auto* f = open<Tfrm_syslog>();
    EXPECT_TRUE(statementsWith("from syslog").isEmpty()) << "nothing is read before 检索";
    EXPECT_EQ(f->cxGrid1DBTableView1->model()->rowCount(), 0);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(f->DateEdit_begin->date(), QDate(today.year(), today.month(), 1));
    EXPECT_EQ(f->DateEdit_end->date(), today);

    QList<int> cursors;
    f->DBmaster_table->BeforeOpen = [&](TRemoteUdpDataSet&) {
        const QCursor* c = QApplication::overrideCursor();
        cursors << (c ? int(c->shape()) : -1);
    };
    search(f, "20240229", "20240331");
    EXPECT_EQ(statementsWith("from syslog"),
              QStringList{"select * from syslog where convert(datetime,logindate)>='2024-02-29' "
                          "and convert(datetime,logindate)<='2024-03-31'"});
    EXPECT_EQ(found(f), QString("末|短|首").split('|'))
        << "boundary days included; '2024-3-5' lies inside by date, not by text";
    EXPECT_EQ(cursors, QList<int>{int(Qt::WaitCursor)});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    search(f, "20240402", "20240401");
    EXPECT_EQ(script.texts(), QStringList{"开始日期不能大于结束日期!"});
    EXPECT_TRUE(statementsWith("from syslog").isEmpty());
    EXPECT_EQ(found(f).size(), 3) << "the last result stays";
}

TEST_F(Syslog, TheGridTakesNoInputWhateverTheRights) {
    logEntry("2024-03-01", "08:00:00", "进入");
    auto* f = open<Tfrm_syslog>();
    f->show();
    search(f, "20240301", "20240301");
    EXPECT_FALSE(f->append_action->isEnabled() || f->edit_action->isEnabled() ||
                 f->del_action->isEnabled());
    TDBTableView* v = f->cxGrid1DBTableView1;
    v->setFocus();
    v->setCurrentIndex(v->gridModel()->index(0, v->SectionOf("fstate")));
    v->edit(v->currentIndex());
    QWidget* typed = QApplication::focusWidget() ? QApplication::focusWidget() : v;
    QTest::keyClicks(typed, "X");
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_EQ(f->DBmaster_table->State(), dsBrowse);
    EXPECT_EQ(db.count("syslog where fstate like '%X%'"), 0);
}

}  // namespace
