#pragma once
#include <QElapsedTimer>
#include <QString>
#include <cstdio>
#include <functional>

namespace md::bench {

// Seconds taken by fn (wall clock, best of `runs`).
inline double timeIt(const std::function<void()>& fn, int runs = 1)
{
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
inline void report(const char* name, double ours, double base, const QString& extra = {})
{
    std::printf("BENCH %s ours=%.4f base=%.4f ratio=%.2f%s%s\n", name, ours, base,
                base > 0 ? ours / base : 0.0, extra.isEmpty() ? "" : " ", qPrintable(extra));
    std::fflush(stdout);
}

// A scratch folder for database files, removed at exit.
QString scratchFile(const QString& name);

}  // namespace md::bench
