// Appending 100,000 rows of five text fields to a cached dataset and sending
// them with one UpdateBatch on PostgreSQL, against raw libpq prepared-statement
// inserts of the same values in one transaction into an identical table.
// The server is named by MD_BENCH_PG (libpq connection text to its "postgres"
// database); `make bench` starts a private one.
#include <libpq-fe.h>

#include <QCoreApplication>
#include <string>

#include "benchutil.h"
#include "pgbackend.h"
#include "remoteudpconnection.h"

namespace {

const char* kDatabase = "md_bench_updatebatch";

void check(PGconn* conn, PGresult* r) {
    const ExecStatusType status = PQresultStatus(r);
    PQclear(r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        std::fprintf(stderr, "postgresql: %s\n", PQerrorMessage(conn));
        std::exit(1);
    }
}

PGconn* connect(const QString& info) {
    PGconn* conn = PQconnectdb(info.toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::fprintf(stderr, "postgresql: %s\n", PQerrorMessage(conn));
        std::exit(1);
    }
    return conn;
}

}  // namespace

int main(int argc, char** argv) {
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
    check(admin,
          PQexec(admin,
                 (std::string("DROP DATABASE IF EXISTS ") + kDatabase + " WITH (FORCE)").c_str()));
    check(admin, PQexec(admin, (std::string("CREATE DATABASE ") + kDatabase).c_str()));
    settings.database = QString::fromLatin1(kDatabase);

    const md::bench::BenchRows data = md::bench::makeBenchRows(rows);

    TRemoteUdpConnection connection;
    connection.Open(settings, md::bench::objectsWithTable(md::bench::kBenchRowsTable));
    connection.ExecSQL(QString::fromLatin1(md::bench::kBenchRowsTable));
    // The baseline's table is the same table: same types, collation and all.
    connection.backend().executeScript(
        QStringLiteral("CREATE TABLE bench_base (LIKE bench_rows INCLUDING ALL)"));

    auto ourRun = [&]() -> double {
        connection.backend().executeScript(QStringLiteral("TRUNCATE bench_rows"));
        return md::bench::appendWithUpdateBatch(connection, data.values);
    };

    PGconn* conn = connect(md::data::pgConnectionString(settings));
    check(conn, PQprepare(conn, "ins",
                          "INSERT INTO bench_base (fcode, fname, fcolor, fsize, fnote) VALUES ($1, "
                          "$2, $3, $4, $5)",
                          0, nullptr));
    auto baseRun = [&]() -> double {
        check(conn, PQexec(conn, "TRUNCATE bench_base"));
        return md::bench::timeIt([&] {
            check(conn, PQexec(conn, "BEGIN"));
            const char* params[5];
            int lengths[5];
            for (int i = 0; i < rows; ++i) {
                const auto& r = data.raw[std::size_t(i)];
                for (int k = 0; k < 5; ++k) {
                    params[k] = r[std::size_t(k)].data();
                    lengths[k] = int(r[std::size_t(k)].size());
                }
                check(conn, PQexecPrepared(conn, "ins", 5, params, lengths, nullptr, 0));
            }
            check(conn, PQexec(conn, "COMMIT"));
        });
    };

    const md::bench::BestTimes best = md::bench::alternate(3, ourRun, baseRun);
    PQfinish(conn);
    connection.Close();
    check(admin,
          PQexec(admin,
                 (std::string("DROP DATABASE IF EXISTS ") + kDatabase + " WITH (FORCE)").c_str()));
    PQfinish(admin);

    md::bench::report("pg_updatebatch_insert_100k", best.ours, best.base,
                      QStringLiteral("rows=%1").arg(rows));
    return 0;
}
