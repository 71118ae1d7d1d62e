#include "benchutil.h"

#include <sqlite3.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "remoteudpdataset.h"
#include "serverdb.h"

namespace md::bench {

BestTimes alternate(int runs, const std::function<double()>& ours,
                    const std::function<double()>& base) {
    BestTimes best;
    for (int run = 0; run < runs; ++run) {
        best.ours = std::min(best.ours, ours());
        best.base = std::min(best.base, base());
    }
    return best;
}

QString scratchFile(const QString& name) {
    static QTemporaryDir dir;
    QFile::remove(dir.filePath(name));
    return dir.filePath(name);
}

std::shared_ptr<const md::data::ServerObjects> objectsWithTable(const char* createTable) {
    auto objects = std::make_shared<md::data::ServerObjects>(*md::server::objects());
    auto catalog = std::make_shared<md::sql::Catalog>(*objects->catalog);
    catalog->load(QString::fromLatin1(createTable));
    objects->catalog = std::move(catalog);
    return objects;
}

void checkSqlite(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

RawRow benchRow(int i) {
    return {"G" + std::to_string(1000000 + i), "休闲衬衫" + std::to_string(i % 997),
            "C" + std::to_string(i % 37), std::to_string(36 + i % 10), "note " + std::to_string(i)};
}

BenchRows makeBenchRows(int rows) {
    BenchRows out;
    out.raw.resize(std::size_t(rows));
    out.values.resize(std::size_t(rows));
    for (std::size_t i = 0; i < std::size_t(rows); ++i) {
        out.raw[i] = benchRow(int(i));
        for (std::size_t k = 0; k < 5; ++k)
            out.values[i][k] = QString::fromStdString(out.raw[i][k]);
    }
    return out;
}

const char* const kBenchRowsTable =
    "create table bench_rows (\n"
    "    fcode varchar(20) not null,\n"
    "    fname varchar(50) null,\n"
    "    fcolor varchar(20) null,\n"
    "    fsize varchar(10) null,\n"
    "    fnote varchar(100) null\n"
    ")";

double appendWithUpdateBatch(TRemoteUdpConnection& connection, const std::vector<TextRow>& values) {
    const int rows = int(values.size());
    TRemoteUdpDataSet ds(QStringLiteral("bench_rows"), nullptr);
    ds.setSetupUdpParent(&connection);
    ds.SetSQL(QStringLiteral("select * from bench_rows where 1=2"));
    ds.Open();
    TField* fields[5] = {
        &ds.FieldByName(QStringLiteral("fcode")), &ds.FieldByName(QStringLiteral("fname")),
        &ds.FieldByName(QStringLiteral("fcolor")), &ds.FieldByName(QStringLiteral("fsize")),
        &ds.FieldByName(QStringLiteral("fnote"))};
    const double seconds = timeIt([&] {
        for (int i = 0; i < rows; ++i) {
            ds.Append();
            for (int k = 0; k < 5; ++k)
                fields[k]->SetAsString(values[std::size_t(i)][std::size_t(k)]);
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
}

}  // namespace md::bench
