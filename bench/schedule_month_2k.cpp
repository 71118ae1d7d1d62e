// 员工排班表 for 2,000 employees over a 31-day month: the schedule window
// loads the month (get_KQ_EmpBanci's pivot) and saves it (the whole month
// deleted, 62,000 rows inserted in one transaction), against the raw sqlite3
// API running the same pivot select, reading every cell, then the same delete
// and the inserts through one prepared statement in one transaction.
#include <sqlite3.h>

#include <QApplication>
#include <QPointer>
#include <string>

#include "benchutil.h"
#include "formfactory.h"
#include "messages.h"
#include "procedures/kqempbanci.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "session.h"
#include "sqlitebackend.h"
#include "staff/frm_KQ_EmpBanci.h"

namespace {

constexpr int kYear = 2026;
constexpr int kMonth = 12;  // 31 days
const char* const kShifts[] = {"A", "B", "C", "OFF", ""};

void exec(sqlite3* db, const char* sql) {
    md::bench::checkSqlite(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db);
}

qint64 scalar(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    md::bench::checkSqlite(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), db);
    md::bench::checkSqlite(sqlite3_step(st), db);
    const qint64 value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return value;
}

std::string dayText(int day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", kYear, kMonth, day);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int employees = argc > 1 ? std::atoi(argv[1]) : 2000;
    const QString file = md::bench::scratchFile(QStringLiteral("schedule_month.db"));
    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::server::objects());
    md::server::createDatabase(connection);
    sqlite3* db = static_cast<md::data::SqliteBackend&>(connection.backend()).handle();

    // The employees and a month already scheduled.
    exec(db, "insert into ba_Department(fCode,fparentcode,fName) values('01','','营运部')");
    exec(db, "insert into kq_banci(fcode,fname) values('A','白班'),('B','晚班'),('C','夜班')");
    exec(db, "BEGIN");
    {
        sqlite3_stmt* emp = nullptr;
        sqlite3_stmt* day = nullptr;
        md::bench::checkSqlite(
            sqlite3_prepare_v2(db,
                               "insert into dt_employee(fid,fcode,fnamech,fdeptcode,fInTime) "
                               "values(?1,?1,?2,'01','2020-01-01')",
                               -1, &emp, nullptr),
            db);
        md::bench::checkSqlite(sqlite3_prepare_v2(db,
                                                  "insert into KQ_EmpBanCi(fbilldate,fempcode,"
                                                  "fbancicode) values(?1,?2,?3)",
                                                  -1, &day, nullptr),
                               db);
        for (int i = 0; i < employees; ++i) {
            char code[16];
            std::snprintf(code, sizeof code, "E%05d", i + 1);
            const std::string name = "员工" + std::to_string(i + 1);
            sqlite3_bind_text(emp, 1, code, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(emp, 2, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(emp);
            sqlite3_reset(emp);
            for (int d = 1; d <= 31; ++d) {
                const std::string date = dayText(d);
                sqlite3_bind_text(day, 1, date.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(day, 2, code, -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(day, 3, kShifts[(i + d) % 5], -1, SQLITE_STATIC);
                sqlite3_step(day);
                sqlite3_reset(day);
            }
        }
        sqlite3_finalize(emp);
        sqlite3_finalize(day);
    }
    exec(db, "COMMIT");
    const qint64 expected = qint64(employees) * 31;

    md::Session().HostApplication = &app;
    md::Session().UserNo = QStringLiteral("admin");
    md::Session().RightListName = QStringLiteral("frm_KQ_EmpBanci");
    md::Session().Connection = &connection;
    md::ui::MessageScript quiet;  // no boxes in a benchmark

    auto checkWritten = [&](const char* side) {
        const qint64 rows = scalar(db, "select count(*) from KQ_EmpBanCi");
        if (rows != expected) {
            std::fprintf(stderr, "%s: %lld rows\n", side, static_cast<long long>(rows));
            std::exit(1);
        }
    };

    // Ours: the window loads the month and 保存 writes it back and closes.
    auto ourRun = [&]() -> double {
        QPointer<Tfrm_KQ_EmpBanci> form = md::ui::CreateForm<Tfrm_KQ_EmpBanci>();
        form->resize(1200, 700);
        const double seconds = md::bench::timeIt([&] {
            form->LoadMonth(kYear, kMonth);
            if (form->DBmaster_table->RecordCount() != employees) std::exit(1);
            form->Run([&] { form->But_SaveClick(); });
        });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (form) {
            std::fprintf(stderr, "保存 did not close the window\n");
            std::exit(1);
        }
        checkWritten("ours");
        return seconds;
    };

    // Baseline: the procedure's pivot select as SQLite runs it, every cell
    // read; then the same delete and the inserts in one transaction.
    const QString pivot =
        connection.Translate(md::server::EmpBanciMonthSql(kYear, kMonth))->statements.first().sql;
    const QString remove =
        connection
            .Translate(QStringLiteral("delete from KQ_EmpBanCi where year(fbilldate)=%1 and "
                                      "month(fbilldate)=%2")
                           .arg(kYear)
                           .arg(kMonth))
            ->statements.first()
            .sql;
    auto baseRun = [&]() -> double {
        const double seconds = md::bench::timeIt([&] {
            std::vector<std::string> codes;
            std::vector<std::string> cells;
            sqlite3_stmt* select = nullptr;
            md::bench::checkSqlite(
                sqlite3_prepare_v2(db, pivot.toUtf8().constData(), -1, &select, nullptr), db);
            const int columns = sqlite3_column_count(select);
            while (sqlite3_step(select) == SQLITE_ROW) {
                codes.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(select, 0)));
                for (int c = 3; c < columns; ++c) {
                    const unsigned char* text = sqlite3_column_text(select, c);
                    cells.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
                }
            }
            sqlite3_finalize(select);
            if (int(codes.size()) != employees) std::exit(1);
            exec(db, "BEGIN");
            exec(db, remove.toUtf8().constData());
            sqlite3_stmt* insert = nullptr;
            md::bench::checkSqlite(sqlite3_prepare_v2(db,
                                                      "insert into KQ_EmpBanCi(fbilldate,fempcode,"
                                                      "fbancicode)values(?1,?2,?3)",
                                                      -1, &insert, nullptr),
                                   db);
            const int days = columns - 3;
            for (std::size_t e = 0; e < codes.size(); ++e)
                for (int d = 1; d <= days; ++d) {
                    const std::string date = dayText(d);
                    sqlite3_bind_text(insert, 1, date.c_str(), -1, SQLITE_TRANSIENT);
                    sqlite3_bind_text(insert, 2, codes[e].c_str(), -1, SQLITE_STATIC);
                    sqlite3_bind_text(insert, 3, cells[e * days + d - 1].c_str(), -1,
                                      SQLITE_STATIC);
                    if (sqlite3_step(insert) != SQLITE_DONE) md::bench::checkSqlite(1, db);
                    sqlite3_reset(insert);
                }
            sqlite3_finalize(insert);
            exec(db, "COMMIT");
        });
        checkWritten("base");
        return seconds;
    };

    const md::bench::BestTimes best = md::bench::alternate(2, ourRun, baseRun);
    md::Session() = md::SessionContext();
    connection.Close();
    md::bench::report(
        "schedule_month_2k", best.ours, best.base,
        QStringLiteral("employees=%1 rows=%2 pivot=get_KQ_EmpBanci").arg(employees).arg(expected));
    return 0;
}
