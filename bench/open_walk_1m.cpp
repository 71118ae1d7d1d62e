// Opening a million-row select in a cached dataset and walking every row,
// reading three fields, against a raw sqlite3 step loop reading the same three
// columns (text copied into std::string, so both sides touch the data).
#include "benchutil.h"
#include "remoteudpdataset.h"
#include "serverdb.h"

#include <QCoreApplication>
#include <sqlite3.h>
#include <string>

namespace {

const char* kTable =
    "create table bench_walk (\n"
    "    fcode varchar(20) not null,\n"
    "    fname varchar(50) null,\n"
    "    fqty int null\n"
    ")";
const char* kSelect = "select fcode,fname,fqty from bench_walk";

std::shared_ptr<const md::data::ServerObjects> objectsWithBenchTable()
{
    auto objects = std::make_shared<md::data::ServerObjects>(*md::server::objects());
    auto catalog = std::make_shared<md::sql::Catalog>(*objects->catalog);
    catalog->load(QString::fromLatin1(kTable));
    objects->catalog = std::move(catalog);
    return objects;
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
    const QString file = md::bench::scratchFile(QStringLiteral("open_walk.db"));

    TRemoteUdpConnection connection;
    connection.Open(ConnectionSettings::sqlite(file), objectsWithBenchTable());
    connection.ExecSQL(QString::fromLatin1(kTable));

    // Fill the table quickly with the raw API (not timed).
    sqlite3* db = nullptr;
    check(sqlite3_open(file.toUtf8().constData(), &db), db);
    {
        sqlite3_stmt* st = nullptr;
        check(sqlite3_prepare_v2(db, "insert into bench_walk values(?1,?2,?3)", -1, &st, nullptr), db);
        check(sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr), db);
        for (int i = 0; i < rows; ++i) {
            const std::string code = "G" + std::to_string(1000000 + i);
            const std::string name = "休闲衬衫" + std::to_string(i % 997);
            sqlite3_bind_text(st, 1, code.data(), int(code.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, name.data(), int(name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 3, i % 100);
            check(sqlite3_step(st), db);
            sqlite3_reset(st);
        }
        check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db);
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
        check(sqlite3_prepare_v2(db, kSelect, -1, &st, nullptr), db);
        baseSum = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            const std::string c(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), std::size_t(sqlite3_column_bytes(st, 0)));
            const std::string n(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)), std::size_t(sqlite3_column_bytes(st, 1)));
            baseSum += qint64(c.size() + n.size()) + sqlite3_column_int(st, 2);
        }
        sqlite3_finalize(st);
    };
    // Runs alternate, so that both sides see the same machine; the best of each counts.
    double ours = 1e300, base = 1e300;
    for (int run = 0; run < 5; ++run) {
        ds.Close();  // freeing the previous run's rows is not part of opening
        ours = std::min(ours, md::bench::timeIt(ourRun));
        base = std::min(base, md::bench::timeIt(baseRun));
    }
    if (ds.RecordCount() != rows || baseSum <= 0 || ourSum <= 0) {
        std::fprintf(stderr, "ours read %d rows, expected %d\n", ds.RecordCount(), rows);
        return 1;
    }
    ds.Close();
    connection.Close();
    sqlite3_close(db);

    md::bench::report("open_walk_1m", ours, base, QStringLiteral("rows=%1").arg(rows));
    return 0;
}
