// Appending a million rows of five text fields to a cached dataset and sending
// them with one UpdateBatch, against binding and inserting the same values
// with the raw sqlite3 API in one transaction into an identical table.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QFile>
#include <string>

#include "benchutil.h"
#include "remoteudpconnection.h"

namespace {

// A database file that does not exist yet, its journal files gone too; the
// runs reuse one name per side so that the scratch folder stays small.
QString freshFile(const QString& name) {
    const QString path = md::bench::scratchFile(name);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;

    using md::bench::checkSqlite;
    // The same values for both sides, made before timing.
    const md::bench::BenchRows data = md::bench::makeBenchRows(rows);

    // Ours: Append / set / Post per row, then one UpdateBatch, into a fresh file.
    std::string createSql;  // our schema's own statements, for the baseline's table
    auto ourRun = [&]() -> double {
        const QString file = freshFile(QStringLiteral("updatebatch_ours.db"));
        TRemoteUdpConnection connection;
        connection.Open(ConnectionSettings::sqlite(file),
                        md::bench::objectsWithTable(md::bench::kBenchRowsTable));
        connection.ExecSQL(QString::fromLatin1(md::bench::kBenchRowsTable));
        const double seconds = md::bench::appendWithUpdateBatch(connection, data.values);
        // The table and the triggers that check its lengths: the baseline's
        // table holds the same checks.
        ResultTable ddl;
        connection.OpenSQL(
            QStringLiteral("select sql from sqlite_master where tbl_name='bench_rows' "
                           "order by type='table' desc"),
            ddl);
        createSql.clear();
        for (int i = 0; i < ddl.rowCount; ++i)
            createSql += ddl.at(i, 0).toString().toStdString() + ";\n";
        return seconds;
    };

    // Baseline: raw sqlite3, same pragmas, one transaction, a fresh file with an
    // identical table.
    auto baseRun = [&]() -> double {
        const std::string file = freshFile(QStringLiteral("updatebatch_base.db")).toStdString();
        sqlite3* db = nullptr;
        checkSqlite(sqlite3_open(file.c_str(), &db), db);
        checkSqlite(sqlite3_exec(db, "pragma journal_mode=WAL;pragma synchronous=FULL;", nullptr,
                                 nullptr, nullptr),
                    db);
        checkSqlite(sqlite3_exec(db, createSql.c_str(), nullptr, nullptr, nullptr), db);
        const double seconds = md::bench::timeIt([&] {
            sqlite3_stmt* st = nullptr;
            checkSqlite(
                sqlite3_prepare_v2(
                    db,
                    "insert into bench_rows(fcode,fname,fcolor,fsize,fnote) values(?1,?2,?3,?4,?5)",
                    -1, &st, nullptr),
                db);
            checkSqlite(sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr), db);
            for (int i = 0; i < rows; ++i) {
                const auto& r = data.raw[std::size_t(i)];
                for (int k = 0; k < 5; ++k)
                    sqlite3_bind_text(st, k + 1, r[std::size_t(k)].data(),
                                      int(r[std::size_t(k)].size()), SQLITE_STATIC);
                checkSqlite(sqlite3_step(st), db);
                sqlite3_reset(st);
            }
            checkSqlite(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db);
            sqlite3_finalize(st);
        });
        sqlite3_close(db);
        return seconds;
    };

    const md::bench::BestTimes best = md::bench::alternate(3, ourRun, baseRun);
    md::bench::report("updatebatch_insert_1m", best.ours, best.base,
                      QStringLiteral("rows=%1").arg(rows));
    return 0;
}
