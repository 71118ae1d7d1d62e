// Appending 100,000 rows of five text fields to a cached dataset and sending
// them with one UpdateBatch on PostgreSQL, against raw libpq prepared-statement
// inserts of the same values in one transaction into an identical table.
// The server is named by MD_BENCH_PG (libpq connection text to its "postgres"
// database); `make bench` starts a private one.
#include "benchutil.h"
#include "pgbackend.h"
#include "remoteudpdataset.h"
#include "serverdb.h"

#include <QCoreApplication>
#include <array>
#include <libpq-fe.h>
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

const char* kDatabase = "md_bench_updatebatch";

std::shared_ptr<const md::data::ServerObjects> objectsWithBenchTable()
{
    auto objects = std::make_shared<md::data::ServerObjects>(*md::server::objects());
    auto catalog = std::make_shared<md::sql::Catalog>(*objects->catalog);
    catalog->load(QString::fromLatin1(kTable));
    objects->catalog = std::move(catalog);
    return objects;
}

void check(PGconn* conn, PGresult* r)
{
    const ExecStatusType status = PQresultStatus(r);
    PQclear(r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        std::fprintf(stderr, "postgresql: %s\n", PQerrorMessage(conn));
        std::exit(1);
    }
}

PGconn* connect(const QString& info)
{
    PGconn* conn = PQconnectdb(info.toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::fprintf(stderr, "postgresql: %s\n", PQerrorMessage(conn));
        std::exit(1);
    }
    return conn;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const QString server = qEnvironmentVariable("MD_BENCH_PG");
    if (server.isEmpty()) {
        std::fprintf(stderr, "MD_BENCH_PG is not set: no PostgreSQL server for the benchmark\n");
        return 1;
    }
    ConnectionSettings settings = ConnectionSettings::postgres(server);

    // A fresh database for the run.
    PGconn* admin = connect(server);
    check(admin, PQexec(admin, (std::string("DROP DATABASE IF EXISTS ") + kDatabase + " WITH (FORCE)").c_str()));
    check(admin, PQexec(admin, (std::string("CREATE DATABASE ") + kDatabase).c_str()));
    settings.database = QString::fromLatin1(kDatabase);

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

    TRemoteUdpConnection connection;
    connection.Open(settings, objectsWithBenchTable());
    connection.ExecSQL(QString::fromLatin1(kTable));
    // The baseline's table is the same table: same types, collation and all.
    connection.backend().executeScript(QStringLiteral("CREATE TABLE bench_base (LIKE bench_rows INCLUDING ALL)"));

    auto ourRun = [&]() -> double {
        connection.backend().executeScript(QStringLiteral("TRUNCATE bench_rows"));
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
        return seconds;
    };

    PGconn* conn = connect(md::data::pgConnectionString(settings));
    check(conn, PQprepare(conn, "ins", "INSERT INTO bench_base (fcode, fname, fcolor, fsize, fnote) VALUES ($1, $2, $3, $4, $5)",
                          0, nullptr));
    auto baseRun = [&]() -> double {
        check(conn, PQexec(conn, "TRUNCATE bench_base"));
        return md::bench::timeIt([&] {
            check(conn, PQexec(conn, "BEGIN"));
            const char* params[5];
            int lengths[5];
            for (int i = 0; i < rows; ++i) {
                const auto& r = raw[std::size_t(i)];
                for (int k = 0; k < 5; ++k) {
                    params[k] = r[std::size_t(k)].data();
                    lengths[k] = int(r[std::size_t(k)].size());
                }
                check(conn, PQexecPrepared(conn, "ins", 5, params, lengths, nullptr, 0));
            }
            check(conn, PQexec(conn, "COMMIT"));
        });
    };

    // Runs alternate, so that both sides see the same machine; the best of each counts.
    double ours = 1e300, base = 1e300;
    for (int run = 0; run < 3; ++run) {
        ours = std::min(ours, ourRun());
        base = std::min(base, baseRun());
    }
    PQfinish(conn);
    connection.Close();
    check(admin, PQexec(admin, (std::string("DROP DATABASE IF EXISTS ") + kDatabase + " WITH (FORCE)").c_str()));
    PQfinish(admin);

    md::bench::report("pg_updatebatch_insert_100k", ours, base, QStringLiteral("rows=%1").arg(rows));
    return 0;
}
