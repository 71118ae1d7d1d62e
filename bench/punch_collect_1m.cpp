// Collecting a month of 1,000,000 punches: 采集考勤数据 driven offscreen
// (the time clock's record_Ac read through Qt's ODBC driver and Debian's
// SQLite ODBC driver, punches matched to employee codes, then 确定: both range
// deletes and the inserts into kq_record_ta and kq_record_ac in one
// transaction). Against a plain program with the raw sqlite3 API reading the
// same source file, matching the same employees, running the same deletes and
// inserting the same rows with prepared statements in one transaction.
#include <sqlite3.h>

#include <QApplication>
#include <QDate>
#include <QDateEdit>
#include <QFile>
#include <QPointer>
#include <string>
#include <unordered_map>

#include "benchutil.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlitebackend.h"
#include "staff/frm_KQ_Record.h"

namespace {

const char* const kDriver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
constexpr int kEmployees = 2000;
// Cards beyond the employees' belong to people who are not employees.
constexpr int kCards = 2100;
// Punches already stored inside the month, which both sides delete first.
constexpr int kStoredBefore = 10000;

void exec(sqlite3* db, const char* sql) {
    md::bench::checkSqlite(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db);
}

sqlite3_stmt* prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    md::bench::checkSqlite(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), db);
    return st;
}

std::string text(sqlite3_stmt* st, int column) {
    const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
    return value ? std::string(value, std::size_t(sqlite3_column_bytes(st, column)))
                 : std::string();
}

std::string cardOf(int card) {
    const std::string digits = "00000" + std::to_string(card);
    return (card < kEmployees ? "E" : "X") + digits.substr(digits.size() - 5);
}

// March 2026 in time order, as a clock writes them: punch i of n falls at
// i/n of the month; the last ones, on 31 March after midnight, lie outside
// the range collected.
std::string timeOf(qint64 i, qint64 n) {
    const qint64 second = i * 31 * 86400 / qMax<qint64>(1, n);
    char out[32];
    std::snprintf(out, sizeof out, "2026-03-%02d %02d:%02d:%02d", int(1 + second / 86400),
                  int(second / 3600 % 24), int(second / 60 % 60), int(second % 60));
    return out;
}

void writeSource(const std::string& file, int punches) {
    QFile::remove(QString::fromStdString(file));
    sqlite3* db = nullptr;
    md::bench::checkSqlite(sqlite3_open(file.c_str(), &db), db);
    exec(db, "create table record_Ac (card_number varchar(20), mach_no int, date_time datetime)");
    exec(db, "begin");
    sqlite3_stmt* insert =
        prepare(db, "insert into record_Ac(card_number,mach_no,date_time) values(?1,?2,?3)");
    for (int i = 0; i < punches; ++i) {
        const std::string card = cardOf(int((qint64(i) * 31) % kCards));
        const std::string time = timeOf(i, punches);
        sqlite3_bind_text(insert, 1, card.data(), int(card.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 2, 1 + i % 4);
        sqlite3_bind_text(insert, 3, time.data(), int(time.size()), SQLITE_TRANSIENT);
        md::bench::checkSqlite(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(db, "commit");
    sqlite3_close(db);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int punches = argc > 1 ? std::atoi(argv[1]) : 1000000;
    if (!QFile::exists(QString::fromLatin1(kDriver))) {
        std::fprintf(stderr, "Debian's SQLite ODBC driver (libsqliteodbc) is not installed\n");
        return 1;
    }

    const std::string sourceFile =
        md::bench::scratchFile(QStringLiteral("punch_source.db")).toStdString();
    writeSource(sourceFile, punches);

    const QString file = md::bench::scratchFile(QStringLiteral("punch_collect.db"));
    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    sqlite3* db = static_cast<md::data::SqliteBackend&>(connection.backend()).handle();
    {
        exec(db, "begin");
        exec(db, "insert into ba_Department(fCode,fparentcode,fName) values('01','','营运部')");
        exec(db, "insert into ba_Department(fCode,fparentcode,fName) values('02','','仓储部')");
        sqlite3_stmt* insert =
            prepare(db, "insert into dt_employee(fid,fcode,fnamech,fdeptcode) values(?1,?1,?2,?3)");
        for (int i = 0; i < kEmployees; ++i) {
            const std::string code = cardOf(i);
            const std::string name = "员工" + std::to_string(i);
            sqlite3_bind_text(insert, 1, code.data(), int(code.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, name.data(), int(name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, i % 2 ? "01" : "02", 2, SQLITE_STATIC);
            md::bench::checkSqlite(sqlite3_step(insert), db);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        exec(db, "commit");
    }
    // Before each run: the tables hold earlier punches inside the month only.
    auto reset = [&] {
        exec(db, "begin");
        exec(db, "delete from kq_record_ta");
        exec(db, "delete from kq_record_ac");
        sqlite3_stmt* ta = prepare(db,
                                   "insert into kq_record_ta(fmach_no,fmach_id,fcard_no,"
                                   "date_time) values('9',0,?1,?2)");
        sqlite3_stmt* ac = prepare(db,
                                   "insert into kq_record_ac(fmach_no,fmach_id,fcard_no,"
                                   "date_time) values('9',0,?1,?2)");
        for (int i = 0; i < kStoredBefore; ++i) {
            const std::string card = cardOf(i % kEmployees);
            const std::string time = timeOf(i, kStoredBefore);
            for (sqlite3_stmt* st : {ta, ac}) {
                sqlite3_bind_text(st, 1, card.data(), int(card.size()), SQLITE_TRANSIENT);
                sqlite3_bind_text(st, 2, time.data(), int(time.size()), SQLITE_TRANSIENT);
                md::bench::checkSqlite(sqlite3_step(st), db);
                sqlite3_reset(st);
            }
        }
        sqlite3_finalize(ta);
        sqlite3_finalize(ac);
        exec(db, "commit");
    };
    auto outcome = [&] {
        std::string out;
        for (const char* table : {"kq_record_ta", "kq_record_ac"}) {
            sqlite3_stmt* st =
                prepare(db, std::string("select count(*),count(distinct fcard_no),min(date_time),"
                                        "max(date_time),sum(fmach_no),sum(fmach_id) from ") +
                                table);
            md::bench::checkSqlite(sqlite3_step(st), db);
            for (int column = 0; column < 6; ++column) out += text(st, column) + " ";
            sqlite3_finalize(st);
        }
        return out;
    };

    md::Session().HostApplication = &app;
    md::Session().UserNo = QStringLiteral("admin");
    md::Session().RightListName = QStringLiteral("frm_KQ_Record");
    md::Session().Connection = &connection;
    md::Shared().AttendanceConnStr = QStringLiteral("DRIVER=") + QString::fromLatin1(kDriver) +
                                     QStringLiteral(";Database=") +
                                     QString::fromStdString(sourceFile);
    md::ui::MessageScript quiet;  // no boxes in a benchmark

    std::string ourOutcome, baseOutcome;
    auto ourRun = [&]() -> double {
        reset();
        QPointer<Tfrm_KQ_Record> form = md::ui::CreateForm<Tfrm_KQ_Record>();
        form->DateEdit1->setDate(QDate(2026, 3, 1));
        form->DateEdit2->setDate(QDate(2026, 3, 31));
        const double seconds = md::bench::timeIt([&] {
            form->But_CollectClick();
            form->But_OKClick();
        });
        ourOutcome = outcome();
        delete form.data();
        return seconds;
    };

    const std::string from = "2026-03-01 00:00:00";
    const std::string to = "2026-03-31 00:00:00";
    auto baseRun = [&]() -> double {
        reset();
        const double seconds = md::bench::timeIt([&] {
            struct Employee {
                std::string name;
                std::string dept;
            };
            std::unordered_map<std::string, Employee> employees;
            sqlite3_stmt* list = prepare(db, "select fcode,fdeptname,fnamech from V_employee");
            while (sqlite3_step(list) == SQLITE_ROW)
                employees.emplace(text(list, 0), Employee{text(list, 2), text(list, 1)});
            sqlite3_finalize(list);

            sqlite3* source = nullptr;
            md::bench::checkSqlite(
                sqlite3_open_v2(sourceFile.c_str(), &source, SQLITE_OPEN_READONLY, nullptr),
                source);
            sqlite3_stmt* read = prepare(source, "select * from record_Ac where date_time>='" +
                                                     from + "' and date_time<='" + to + "'");
            exec(db, "begin immediate");
            const std::string range =
                " where date_time>='" + from + "' and date_time<='" + to + "'";
            exec(db, ("delete from kq_record_ac" + range).c_str());
            exec(db, ("delete from kq_record_ta" + range).c_str());
            sqlite3_stmt* ta = prepare(db,
                                       "insert into kq_record_ta(fmach_no,fmach_id,fcard_no,"
                                       "date_time) values(?1,0,?2,?3)");
            sqlite3_stmt* ac = prepare(db,
                                       "insert into kq_record_ac(fmach_no,fmach_id,fcard_no,"
                                       "date_time) values(?1,0,?2,?3)");
            while (sqlite3_step(read) == SQLITE_ROW) {
                const std::string card = text(read, 0);
                if (employees.find(card) == employees.end()) continue;
                const std::string machine = text(read, 1);
                const std::string time = text(read, 2);
                for (sqlite3_stmt* st : {ta, ac}) {
                    sqlite3_bind_text(st, 1, machine.data(), int(machine.size()), SQLITE_STATIC);
                    sqlite3_bind_text(st, 2, card.data(), int(card.size()), SQLITE_STATIC);
                    sqlite3_bind_text(st, 3, time.data(), int(time.size()), SQLITE_STATIC);
                    md::bench::checkSqlite(sqlite3_step(st), db);
                    sqlite3_reset(st);
                }
            }
            sqlite3_finalize(ta);
            sqlite3_finalize(ac);
            exec(db, "commit");
            sqlite3_finalize(read);
            sqlite3_close(source);
        });
        baseOutcome = outcome();
        return seconds;
    };

    const int runs = argc > 2 ? std::atoi(argv[2]) : 2;
    const md::bench::BestTimes best = md::bench::alternate(runs, ourRun, baseRun);
    if (ourOutcome != baseOutcome || !quiet.shown().isEmpty()) {
        std::fprintf(stderr, "the sides differ:\n ours %s\n base %s\n%s\n", ourOutcome.c_str(),
                     baseOutcome.c_str(), qPrintable(quiet.texts().join(QLatin1Char('\n'))));
        return 1;
    }
    md::Session() = md::SessionContext();
    connection.Close();
    md::bench::report("punch_collect_1m", best.ours, best.base,
                      QStringLiteral("punches=%1").arg(punches));
    return 0;
}
