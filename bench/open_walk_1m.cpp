// Opening a million-row select in a cached dataset and walking every row,
// reading three fields, against a raw sqlite3 step loop reading the same three
// columns (text copied into std::string, so both sides touch the data).
#include <sqlite3.h>

#include <QCoreApplication>
#include <string>

#include "benchutil.h"
#include "remoteudpdataset.h"

namespace {

const char* kTable =
    "create table bench_walk (\n"
    "    fcode varchar(20) not null,\n"
    "    fname varchar(50) null,\n"
    "    fqty int null\n"
    ")";
const char* kSelect = "select fcode,fname,fqty from bench_walk";

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const QString file = md::bench::scratchFile(QStringLiteral("open_walk.db"));

    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), md::bench::objectsWithTable(kTable));
    connection.ExecSQL(QString::fromLatin1(kTable));

    // Fill the table quickly with the raw API (not timed).
    using md::bench::checkSqlite;
    sqlite3* db = nullptr;
    checkSqlite(sqlite3_open(file.toUtf8().constData(), &db), db);
    {
        sqlite3_stmt* st = nullptr;
        checkSqlite(
            sqlite3_prepare_v2(db, "insert into bench_walk values(?1,?2,?3)", -1, &st, nullptr),
            db);
        checkSqlite(sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr), db);
        for (int i = 0; i < rows; ++i) {
            const md::bench::RawRow row =
                md::bench::benchRow(i);  // code and name of the generated rows
            sqlite3_bind_text(st, 1, row[0].data(), int(row[0].size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, row[1].data(), int(row[1].size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 3, i % 100);
            checkSqlite(sqlite3_step(st), db);
            sqlite3_reset(st);
        }
        checkSqlite(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db);
        sqlite3_finalize(st);
    }

    // Ours: Open, then First/Next to the end reading AsString, AsString, AsInteger.
    TRemoteUdpDataSet ds(QStringLiteral("bench_walk"), nullptr);
    ds.setSetupUdpParent(&connection);
    ds.SetSQL(QString::fromLatin1(kSelect));
    qint64 ourSum = 0;
    auto ourRun = [&] {
        ds.Open();
        TField& code = ds.FieldByName(QStringLiteral("fcode"));
        TField& name = ds.FieldByName(QStringLiteral("fname"));
        TField& qty = ds.FieldByName(QStringLiteral("fqty"));
        ourSum = 0;
        for (ds.First(); !ds.Eof(); ds.Next()) {
            const QString c = code.AsString();
            const QString n = name.AsString();
            ourSum += c.size() + n.size() + qty.AsInteger();
        }
    };
    // Baseline: a step loop over the same select.
    qint64 baseSum = 0;
    auto baseRun = [&] {
        sqlite3_stmt* st = nullptr;
        checkSqlite(sqlite3_prepare_v2(db, kSelect, -1, &st, nullptr), db);
        baseSum = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            const std::string c(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                                std::size_t(sqlite3_column_bytes(st, 0)));
            const std::string n(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)),
                                std::size_t(sqlite3_column_bytes(st, 1)));
            baseSum += qint64(c.size() + n.size()) + sqlite3_column_int(st, 2);
        }
        sqlite3_finalize(st);
    };
    const md::bench::BestTimes best = md::bench::alternate(
        5,
        [&] {
            ds.Close();  // freeing the previous run's rows is not part of opening
            return md::bench::timeIt(ourRun);
        },
        [&] { return md::bench::timeIt(baseRun); });
    if (ds.RecordCount() != rows || baseSum <= 0 || ourSum <= 0) {
        std::fprintf(stderr, "ours read %d rows, expected %d\n", ds.RecordCount(), rows);
        return 1;
    }
    ds.Close();
    connection.Close();
    sqlite3_close(db);

    md::bench::report("open_walk_1m", best.ours, best.base, QStringLiteral("rows=%1").arg(rows));
    return 0;
}
