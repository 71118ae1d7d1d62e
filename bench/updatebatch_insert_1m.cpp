// Appending a million rows of five text fields to a cached dataset and sending
// them with one UpdateBatch, against binding and inserting the same values
// with the raw sqlite3 API in one transaction into an identical table.
#include "benchutil.h"
#include "remoteudpdataset.h"
#include "serverdb.h"

#include <QCoreApplication>
#include <QFile>
#include <array>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace {

const char* kTable =
    "create table bench_rows (\n"
    "    fcode varchar(20) not null,\n"
    "    fname varchar(50) null,\n"
    "    fcolor varchar(20) null,\n"
    "    fsize varchar(10) null,\n"
    "    fnote varchar(100) null\n"
    ")";

std::shared_ptr<const md::data::ServerObjects> objectsWithBenchTable()
{
    auto objects = std::make_shared<md::data::ServerObjects>(*md::server::objects());
    auto catalog = std::make_shared<md::sql::Catalog>(*objects->catalog);
    catalog->load(QString::fromLatin1(kTable));
    objects->catalog = std::move(catalog);
    return objects;
}

// A database file that does not exist yet, its journal files gone too; the
// runs reuse one name per side so that the scratch folder stays small.
QString freshFile(const QString& name)
{
    const QString path = md::bench::scratchFile(name);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    return path;
}

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;

    // The same values for both sides, made before timing.
    std::vector<std::array<std::string, 5>> raw(static_cast<std::size_t>(rows));
    std::vector<std::array<QString, 5>> values(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        auto& r = raw[std::size_t(i)];
        r[0] = "G" + std::to_string(1000000 + i);
        r[1] = "休闲衬衫" + std::to_string(i % 997);
        r[2] = "C" + std::to_string(i % 37);
        r[3] = std::to_string(36 + i % 10);
        r[4] = "note " + std::to_string(i);
        for (int k = 0; k < 5; ++k) values[std::size_t(i)][std::size_t(k)] = QString::fromStdString(r[std::size_t(k)]);
    }

    // Ours: Append / set / Post per row, then one UpdateBatch, into a fresh file.
    std::string createSql;  // our schema's own statement, for the baseline's table
    auto ourRun = [&]() -> double {
        const QString file = freshFile(QStringLiteral("updatebatch_ours.db"));
        TRemoteUdpConnection connection;
        connection.Open(ConnectionSettings::sqlite(file), objectsWithBenchTable());
        connection.ExecSQL(QString::fromLatin1(kTable));
        TRemoteUdpDataSet ds(QStringLiteral("bench_rows"), nullptr);
        ds.setSetupUdpParent(&connection);
        ds.SetSQL(QStringLiteral("select * from bench_rows where 1=2"));
        ds.Open();
        TField* fields[5] = {&ds.FieldByName(QStringLiteral("fcode")), &ds.FieldByName(QStringLiteral("fname")),
                             &ds.FieldByName(QStringLiteral("fcolor")), &ds.FieldByName(QStringLiteral("fsize")),
                             &ds.FieldByName(QStringLiteral("fnote"))};
        const double seconds = md::bench::timeIt([&] {
            for (int i = 0; i < rows; ++i) {
                ds.Append();
                for (int k = 0; k < 5; ++k) fields[k]->SetAsString(values[std::size_t(i)][std::size_t(k)]);
                ds.Post();
            }
            ds.UpdateBatch();
        });
        ResultTable count;
        connection.OpenSQL(QStringLiteral("select count(*) from bench_rows"), count);
        if (count.at(0, 0).toInt() != rows) {
            std::fprintf(stderr, "ours inserted %d rows, expected %d\n", count.at(0, 0).toInt(), rows);
            std::exit(1);
        }
        ResultTable ddl;
        connection.OpenSQL(QStringLiteral("select sql from sqlite_master where name='bench_rows'"), ddl);
        createSql = ddl.at(0, 0).toString().toStdString();
        return seconds;
    };

    // Baseline: raw sqlite3, same pragmas, one transaction, a fresh file with an
    // identical table.
    auto baseRun = [&]() -> double {
        const std::string file = freshFile(QStringLiteral("updatebatch_base.db")).toStdString();
        sqlite3* db = nullptr;
        check(sqlite3_open(file.c_str(), &db), db);
        check(sqlite3_exec(db, "pragma journal_mode=WAL;pragma synchronous=FULL;", nullptr, nullptr, nullptr), db);
        check(sqlite3_exec(db, createSql.c_str(), nullptr, nullptr, nullptr), db);
        const double seconds = md::bench::timeIt([&] {
            sqlite3_stmt* st = nullptr;
            check(sqlite3_prepare_v2(db, "insert into bench_rows(fcode,fname,fcolor,fsize,fnote) values(?1,?2,?3,?4,?5)",
                                     -1, &st, nullptr),
                  db);
            check(sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr), db);
            for (int i = 0; i < rows; ++i) {
                const auto& r = raw[std::size_t(i)];
                for (int k = 0; k < 5; ++k)
                    sqlite3_bind_text(st, k + 1, r[std::size_t(k)].data(), int(r[std::size_t(k)].size()), SQLITE_STATIC);
                check(sqlite3_step(st), db);
                sqlite3_reset(st);
            }
            check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db);
            sqlite3_finalize(st);
        });
        sqlite3_close(db);
        return seconds;
    };

    // Runs alternate, so that both sides see the same machine; the best of each counts.
    double ours = 1e300, base = 1e300;
    for (int run = 0; run < 3; ++run) {
        ours = std::min(ours, ourRun());
        base = std::min(base, baseRun());
    }

    md::bench::report("updatebatch_insert_1m", ours, base, QStringLiteral("rows=%1").arg(rows));
    return 0;
}
