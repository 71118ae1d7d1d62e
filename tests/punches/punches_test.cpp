// 采集考勤数据: punches read through ODBC from a time clock's database (a
// SQLite file behind Debian's SQLite ODBC driver), matched to employees and
// stored over the collected range in kq_record_ta and kq_record_ac.
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "demo/punchesdemo.h"
#include "formfixture.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "staff/frm_KQ_Record.h"

namespace md::test {
namespace {

const QString kDriver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");

class PunchesTest : public FormTest {
  protected:
    PunchesTest() : FormTest(QStringLiteral("frm_KQ_Record")) {
        db.exec("insert into ba_Department(fCode,fparentcode,fName) values('01','','营运部')");
        db.exec("insert into ba_Department(fCode,fparentcode,fName) values('02','','仓储部')");
        db.exec(
            "insert into dt_employee(fid,fcode,fnamech,fdeptcode) values('E01','E01','张伟','01')");
        db.exec(
            "insert into dt_employee(fid,fcode,fnamech,fdeptcode) values('E02','E02','刘芳','02')");
    }
    void SetUp() override {
        if (!QFile::exists(kDriver))
            GTEST_SKIP() << "Debian's SQLite ODBC driver (libsqliteodbc) is not installed";
    }

    QString sourceFile() const { return QDir(db.folder()).filePath(QStringLiteral("kq.db")); }
    // The time clock's database, reached without a data source name.
    void useSource(const std::vector<md::server::TimeClockPunch>& punches) {
        md::server::writeTimeClockFile(sourceFile(), punches);
        md::Shared().AttendanceConnStr =
            QStringLiteral("DRIVER=") + kDriver + QStringLiteral(";Database=") + sourceFile();
    }
    Tfrm_KQ_Record* openCollect(const QDate& from, const QDate& to) {
        auto* form = open<Tfrm_KQ_Record>();
        form->DateEdit1->setDate(from);
        form->DateEdit2->setDate(to);
        return form;
    }
    // A table's punches in time order: "card|clock|time".
    QStringList stored(const QString& table) {
        return rows("select fcard_no,fmach_no,convert(varchar(19),date_time,120) from " + table +
                    " order by date_time,fcard_no");
    }
    void storeOld(const QString& card, const QString& time) {
        for (const char* table : {"kq_record_ta", "kq_record_ac"})
            db.exec(QStringLiteral("insert into %1(fmach_no,fmach_id,fcard_no,date_time) "
                                   "values('9',0,%2,%3)")
                        .arg(QLatin1String(table), QuotedStr(card), QuotedStr(time)));
    }
    // What the grid shows, row by row.
    static QStringList shown(const Tfrm_KQ_Record* form) {
        const TDBTableView* view = form->cxGrid1->View();
        QStringList lines;
        for (int row = 0; row < view->reportRowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < view->reportColumnCount(); ++column)
                cells << view->reportText(row, column);
            lines << cells.join('|');
        }
        return lines;
    }
};

std::vector<md::server::TimeClockPunch> marchPunches() {
    return {
        {"E01", 1, "2026-02-28 23:59:59"}, {"E01", 1, "2026-03-01 00:00:00"},
        {"E02", 2, "2026-03-15 08:01:02"}, {"90001", 1, "2026-03-15 08:05:00"},
        {"E02", 2, "2026-03-31 00:00:00"}, {"E01", 1, "2026-03-31 08:00:00"},
    };
}

TEST_F(PunchesTest, CollectsFromTheFirstDayUpToMidnightOfTheLastAndStoresOverThatRange) {
    useSource(marchPunches());
    storeOld("E01", "2026-02-28 18:00:00");  // before the range: kept
    storeOld("E02", "2026-03-10 08:00:00");  // inside: replaced
    storeOld("E01", "2026-03-31 08:00:00");  // after midnight of the last day: kept
    Tfrm_KQ_Record* form = openCollect(QDate(2026, 3, 1), QDate(2026, 3, 31));
    EXPECT_EQ(form->windowTitle(), "采集考勤数据");

    form->But_Collect->click();
    ASSERT_TRUE(script.shown().isEmpty()) << script.texts().join('\n').toStdString();
    // The stranger's card (90001) is no employee's code.
    EXPECT_EQ(shown(form), QStringList({"1|营运部|E01|张伟|2026-03-01 00:00:00",
                                        "2|仓储部|E02|刘芳|2026-03-15 08:01:02",
                                        "2|仓储部|E02|刘芳|2026-03-31 00:00:00"}));
    EXPECT_EQ(form->cxGrid1->View()->reportFooter(0), "记录数：3");
    EXPECT_EQ(stored("kq_record_ta").size(), 3) << "nothing is written before 确定";

    // The range stored is the one collected, whatever the boxes say now.
    form->DateEdit2->setDate(QDate(2026, 4, 30));
    db.conn().log().clear();
    form->But_OK->click();
    ASSERT_TRUE(script.shown().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    const QStringList log = db.conn().log().entries();
    ASSERT_GE(log.size(), 2);
    EXPECT_EQ(log.at(0),
              "delete from kq_record_ac where date_time>='2026-03-01 00:00:00' and "
              "date_time<='2026-03-31 00:00:00'");
    EXPECT_EQ(log.at(1),
              "delete from kq_record_ta where date_time>='2026-03-01 00:00:00' and "
              "date_time<='2026-03-31 00:00:00'");
    const QStringList expected = {"E01|9|2026-02-28 18:00:00", "E01|1|2026-03-01 00:00:00",
                                  "E02|2|2026-03-15 08:01:02", "E02|2|2026-03-31 00:00:00",
                                  "E01|9|2026-03-31 08:00:00"};
    EXPECT_EQ(stored("kq_record_ta"), expected);
    EXPECT_EQ(stored("kq_record_ac"), expected);
    EXPECT_EQ(rows("select distinct fmach_id from kq_record_ta"), QStringList({"0"}));

    // Collected again, the range replaces itself, midnight punches included.
    Tfrm_KQ_Record* again = openCollect(QDate(2026, 3, 1), QDate(2026, 3, 31));
    again->But_Collect->click();
    again->But_OK->click();
    ASSERT_TRUE(script.shown().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_EQ(stored("kq_record_ta"), expected);
    EXPECT_EQ(stored("kq_record_ac"), expected);
}

TEST_F(PunchesTest, OkWithoutPunchesRefusesAndCancelAsksOnlyWhenThereAreSome) {
    useSource(marchPunches());
    Tfrm_KQ_Record* form = openCollect(QDate(2026, 3, 2), QDate(2026, 3, 14));
    form->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList({"没有采集到数据!"}));
    EXPECT_EQ(script.shown().first().title, "系统提示");
    // A range without punches collects none either.
    script.clear();
    form->But_Collect->click();
    form->But_OK->click();
    EXPECT_EQ(script.texts(), QStringList({"没有采集到数据!"}));

    // Start after end: refused, the buffer untouched.
    script.clear();
    form->DateEdit1->setDate(QDate(2026, 3, 31));
    form->DateEdit2->setDate(QDate(2026, 3, 1));
    form->But_Collect->click();
    EXPECT_EQ(script.texts(), QStringList({"开始日期不能大于结束日期!"}));

    script.clear();
    form->DateEdit1->setDate(QDate(2026, 3, 1));
    form->DateEdit2->setDate(QDate(2026, 3, 31));
    form->But_Collect->click();
    ASSERT_EQ(form->DBmaster_table->RecordCount(), 3);
    script.answer(md::ui::Answer::No);
    form->But_Cancel->click();
    EXPECT_EQ(script.texts(), QStringList({"是否确认取消？"}));
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 3) << "No keeps the window and its punches";
    script.clear();
    script.answer(md::ui::Answer::Yes);
    form->But_Cancel->click();
    EXPECT_EQ(script.texts(), QStringList({"是否确认取消？"}));
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(db.count("kq_record_ta"), 0);
    EXPECT_EQ(db.count("kq_record_ac"), 0);

    // Nothing collected: 取消 closes without a question.
    script.clear();
    Tfrm_KQ_Record* empty = openCollect(QDate(2026, 3, 1), QDate(2026, 3, 1));
    QPointer<Tfrm_KQ_Record> alive(empty);
    empty->But_Cancel->click();
    EXPECT_TRUE(script.texts().isEmpty());
    flushDeletes();
    EXPECT_TRUE(alive.isNull()) << "the window is freed";
}

// A source that cannot be read names itself and the driver's words, writes
// nothing and leaves what was collected before.
TEST_F(PunchesTest, AnUnreachableSourceNamesItselfAndChangesNothing) {
    useSource(marchPunches());
    storeOld("E01", "2026-03-10 08:00:00");
    Tfrm_KQ_Record* form = openCollect(QDate(2026, 3, 1), QDate(2026, 3, 31));
    form->But_Collect->click();
    ASSERT_EQ(form->DBmaster_table->RecordCount(), 3);
    const QString good = md::Shared().AttendanceConnStr;

    QString locked = QDir(db.folder()).filePath(QStringLiteral("locked.db"));
    md::server::writeTimeClockFile(locked, marchPunches());
    QString empty = QDir(db.folder()).filePath(QStringLiteral("empty.db"));
    md::server::writeTimeClockFile(empty, {});
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "punches_empty");
        raw.setDatabaseName(empty);
        ASSERT_TRUE(raw.open());
        QSqlQuery(raw).exec("drop table record_Ac");
        raw.close();
    }
    QSqlDatabase::removeDatabase("punches_empty");

    struct Case {
        QString link;
        QString named;       // in the message
        QString driverSays;  // the driver's own words, in the message
    };
    const QList<Case> cases = {
        {"Provider=MSDASQL.1;Persist Security Info=False;Data Source=KQ_NOWHERE", "KQ_NOWHERE",
         "Data source name not found"},
        {"DRIVER=/usr/lib/nowhere/libnoodbc.so;Database=" + locked, "libnoodbc.so", "nowhere"},
        {"DRIVER=" + kDriver + ";Database=" + empty, empty, "record_Ac"},
        {"DRIVER=" + kDriver + ";Timeout=200;Database=" + locked, locked, "locked"},
    };
    // The last case's file is held by a writer meanwhile.
    QSqlDatabase writer = QSqlDatabase::addDatabase("QSQLITE", "punches_writer");
    writer.setDatabaseName(locked);
    ASSERT_TRUE(writer.open());
    ASSERT_TRUE(QSqlQuery(writer).exec("begin exclusive"))
        << writer.lastError().text().toStdString();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link.toStdString());
        script.clear();
        md::Shared().AttendanceConnStr = c.link;
        form->But_Collect->click();
        ASSERT_EQ(script.shown().size(), 1) << script.texts().join('\n').toStdString();
        const md::ui::ShownMessage& box = script.shown().first();
        EXPECT_TRUE(box.isError);
        const QString all = box.text + '\n' + box.details;
        EXPECT_TRUE(all.contains(c.named)) << all.toStdString();
        EXPECT_TRUE(all.contains(c.driverSays, Qt::CaseInsensitive)) << all.toStdString();
        EXPECT_EQ(form->DBmaster_table->RecordCount(), 3) << "the buffer is as it was";
        EXPECT_TRUE(form->But_Collect->isEnabled());
    }
    QSqlQuery(writer).exec("rollback");
    writer.close();
    writer = QSqlDatabase();
    QSqlDatabase::removeDatabase("punches_writer");
    EXPECT_EQ(stored("kq_record_ta"), QStringList({"E01|9|2026-03-10 08:00:00"}));
    EXPECT_EQ(stored("kq_record_ac"), QStringList({"E01|9|2026-03-10 08:00:00"}));

    // No link at all is the settings file's fault: said so, nothing read.
    script.clear();
    md::Shared().AttendanceConnStr.clear();
    form->But_Collect->click();
    EXPECT_EQ(script.texts(),
              QStringList({"没有设置考勤数据源（softconfig.ini [KQSoft] datalinkstr）!"}));
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 3);

    // The buffer collected before still stores.
    md::Shared().AttendanceConnStr = good;
    script.clear();
    form->But_OK->click();
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_EQ(db.count("kq_record_ta"), 3);
}

// 确定 is one transaction: a store that fails halfway leaves both tables as
// they were and the punches in the window, ready to be stored again.
TEST_F(PunchesTest, AStoreThatFailsHalfwayChangesNothingAndCanBeRepeated) {
    useSource(marchPunches());
    storeOld("E01", "2026-03-10 08:00:00");
    db.exec("create unique index ux_kq_record_ac_card on kq_record_ac (fcard_no)");
    Tfrm_KQ_Record* form = openCollect(QDate(2026, 3, 1), QDate(2026, 3, 31));
    form->But_Collect->click();
    ASSERT_EQ(form->DBmaster_table->RecordCount(), 3);
    form->But_OK->click();  // E02 punched twice: kq_record_ac refuses the second
    ASSERT_EQ(script.shown().size(), 1) << script.texts().join('\n').toStdString();
    EXPECT_TRUE(script.shown().first().isError);
    EXPECT_EQ(stored("kq_record_ta"), QStringList({"E01|9|2026-03-10 08:00:00"}));
    EXPECT_EQ(stored("kq_record_ac"), QStringList({"E01|9|2026-03-10 08:00:00"}));
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 3);
    EXPECT_NE(form->result(), QDialog::Accepted);

    db.exec("drop index ux_kq_record_ac_card on kq_record_ac");
    script.clear();
    form->But_OK->click();
    EXPECT_TRUE(script.shown().isEmpty()) << script.texts().join('\n').toStdString();
    const QStringList expected = {"E01|1|2026-03-01 00:00:00", "E02|2|2026-03-15 08:01:02",
                                  "E02|2|2026-03-31 00:00:00"};
    EXPECT_EQ(stored("kq_record_ta"), expected);
    EXPECT_EQ(stored("kq_record_ac"), expected);
}

TEST_F(PunchesTest, CancelDuringACollectionKeepsTheBufferAsItWas) {
    std::vector<md::server::TimeClockPunch> many = marchPunches();
    for (int i = 0; i < 5000; ++i)
        many.push_back({i % 2 ? "E01" : "E02", 1,
                        QStringLiteral("2026-03-20 %1:%2:%3")
                            .arg(8 + i / 3600, 2, 10, QLatin1Char('0'))
                            .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                            .arg(i % 60, 2, 10, QLatin1Char('0'))});
    useSource(many);
    Tfrm_KQ_Record* form = openCollect(QDate(2026, 3, 1), QDate(2026, 3, 15));
    form->But_Collect->click();
    ASSERT_EQ(form->DBmaster_table->RecordCount(), 1);

    // The screen follows every thousand punches; 取消 pressed then stops it.
    form->DateEdit2->setDate(QDate(2026, 3, 31));
    QList<int> steps;
    const auto watch =
        QObject::connect(form->ProgressBar1, &QProgressBar::valueChanged, form, [&](int value) {
            steps << value;
            if (value >= 2000 && form->Collecting()) form->But_Cancel->click();
        });
    form->But_Collect->click();
    EXPECT_TRUE(script.shown().isEmpty()) << "stopping asks nothing";
    EXPECT_EQ(steps.value(0), 0);
    EXPECT_EQ(steps.value(1), 1000);
    EXPECT_EQ(steps.value(2), 2000);
    EXPECT_EQ(steps.size(), 3);
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 1);
    EXPECT_FALSE(form->Collecting());
    EXPECT_TRUE(form->But_OK->isEnabled());

    // Uninterrupted, it takes them all.
    QObject::disconnect(watch);
    form->But_Collect->click();
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 5003);
    form->But_OK->click();
    EXPECT_EQ(db.count("kq_record_ta"), 5003);
    EXPECT_EQ(db.count("kq_record_ac"), 5003);
}

TEST_F(PunchesTest, TheDemoClockHasAMonthOfEveryEmployeeAndSomeStrangers) {
    const QStringList codes = {"E01", "E02"};
    const auto punches =
        md::server::demoTimeClockPunches(codes, QDate(2026, 3, 1), QDate(2026, 3, 31));
    QSet<QString> cards;
    int ours = 0;
    int lastDay = 0;
    for (const auto& p : punches) {
        cards << p.card;
        if (codes.contains(p.card) && p.time < "2026-03-31") ++ours;
        if (p.time.startsWith("2026-03-31")) ++lastDay;
    }
    EXPECT_TRUE(cards.contains("E01") && cards.contains("E02"));
    EXPECT_GT(cards.size(), 2) << "cards of people who are not employees";
    EXPECT_GT(lastDay, 0);
    useSource(punches);
    Tfrm_KQ_Record* form = openCollect(QDate(2026, 3, 1), QDate(2026, 3, 31));
    form->But_Collect->click();
    EXPECT_EQ(form->DBmaster_table->RecordCount(), ours) << "every employee punch up to the 31st";
}

// The ADO link of the settings file names a data source of odbc.ini.
TEST_F(PunchesTest, TheAdoLinkReachesTheDataSourceItNames) {
    useSource(marchPunches());
    const QString ini = QDir(db.folder()).filePath(QStringLiteral("odbc.ini"));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("[KQ_TEST]\nDriver=" + kDriver + "\nDatabase=" + sourceFile() + "\n").toUtf8());
    file.close();
    const QByteArray previous = qgetenv("ODBCINI");
    qputenv("ODBCINI", ini.toLocal8Bit());
    md::Shared().AttendanceConnStr =
        QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;Data Source=KQ_TEST");
    Tfrm_KQ_Record* form = openCollect(QDate(2026, 3, 1), QDate(2026, 3, 31));
    form->But_Collect->click();
    if (previous.isNull())
        qunsetenv("ODBCINI");
    else
        qputenv("ODBCINI", previous);
    EXPECT_TRUE(script.shown().isEmpty()) << script.texts().join('\n').toStdString();
    EXPECT_EQ(form->DBmaster_table->RecordCount(), 3);
}

TEST(AttendanceLink, TheAdoLinkNamesADataSourceAndOdbcTextsPassAsTheyAre) {
    TAttendanceLink link = Tfrm_KQ_Record::AttendanceLink(
        "Provider=MSDASQL.1;Persist Security Info=False;Data Source=KQ");
    EXPECT_EQ(link.odbc, "KQ");
    EXPECT_EQ(link.name, "KQ");
    EXPECT_TRUE(link.user.isEmpty());

    link = Tfrm_KQ_Record::AttendanceLink(
        "Provider=MSDASQL.1;Password=pw;Persist Security Info=True;User ID=kq;Data Source=考勤");
    EXPECT_EQ(link.odbc, "考勤");
    EXPECT_EQ(link.user, "kq");
    EXPECT_EQ(link.password, "pw");

    // Qt's driver puts "DSN=" before a text without DRIVER=: it is taken off here.
    link = Tfrm_KQ_Record::AttendanceLink("DSN=KQ;UID=sa;PWD=x");
    EXPECT_EQ(link.odbc, "KQ;UID=sa;PWD=x");
    EXPECT_EQ(link.name, "KQ");

    const QString direct = "DRIVER={ODBC Driver 18 for SQL Server};SERVER=clock;DATABASE=att";
    link = Tfrm_KQ_Record::AttendanceLink(direct);
    EXPECT_EQ(link.odbc, direct);
    EXPECT_EQ(link.name, direct);

    link = Tfrm_KQ_Record::AttendanceLink(
        "Provider=MSDASQL.1;Extended Properties=\"DSN=KQ2;UID=u\";Persist Security Info=False");
    EXPECT_EQ(link.odbc, "KQ2;UID=u");
    EXPECT_EQ(link.name, "KQ2");

    EXPECT_TRUE(Tfrm_KQ_Record::AttendanceLink("").odbc.isEmpty());
}

}  // namespace
}  // namespace md::test
