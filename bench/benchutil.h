#pragma once
#include <QElapsedTimer>
#include <QString>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TRemoteUdpConnection;
struct sqlite3;
namespace md::data {
struct ServerObjects;
}

namespace md::bench {

// Seconds taken by fn (wall clock, best of `runs`).
inline double timeIt(const std::function<void()>& fn, int runs = 1) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        best = std::min(best, t.nsecsElapsed() / 1e9);
    }
    return best;
}

// The one line every benchmark prints.
inline void report(const char* name, double ours, double base, const QString& extra = {}) {
    std::printf("BENCH %s ours=%.4f base=%.4f ratio=%.2f%s%s\n", name, ours, base,
                base > 0 ? ours / base : 0.0, extra.isEmpty() ? "" : " ", qPrintable(extra));
    std::fflush(stdout);
}

// Runs our side and the baseline in turn, so that both see the same machine;
// the best time of each counts. Each side returns its own seconds.
struct BestTimes {
    double ours = 1e300;
    double base = 1e300;
};
BestTimes alternate(int runs, const std::function<double()>& ours,
                    const std::function<double()>& base);

// A scratch folder for database files, removed at exit.
QString scratchFile(const QString& name);

// The server's objects with one more table, which the catalog then knows.
std::shared_ptr<const md::data::ServerObjects> objectsWithTable(const char* createTable);

// Stops the benchmark with SQLite's message when a call fails.
void checkSqlite(int rc, sqlite3* db);

// Generated goods-like rows, the same for our side and the baseline: code,
// name, colour, size and note, as UTF-8 and as QString.
using RawRow = std::array<std::string, 5>;
using TextRow = std::array<QString, 5>;
RawRow benchRow(int i);
struct BenchRows {
    std::vector<RawRow> raw;
    std::vector<TextRow> values;
};
BenchRows makeBenchRows(int rows);

// The table the insert benchmarks fill, named bench_rows: the five fields above.
extern const char* const kBenchRowsTable;

// Our insert: Append, five SetAsString and Post per row into a cached dataset
// over bench_rows, then one UpdateBatch. Returns the seconds of that; stops
// the benchmark when the table does not hold every row afterwards.
double appendWithUpdateBatch(TRemoteUdpConnection& connection, const std::vector<TextRow>& values);

}  // namespace md::bench
