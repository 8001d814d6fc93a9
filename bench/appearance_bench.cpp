// The help page with a help file of 4 MB: how long opening it holds the window, and how long
// each turn of the event loop that fills in the rest takes (the longest turn is what the operator
// could feel).
#include "ui/appearance/HelpDialog.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <ctime>

using namespace cubwave;

namespace {

void writeHelp(const QString& workDir)
{
    QByteArray bytes;
    for (int i = 0; bytes.size() < 4 * 1024 * 1024; ++i)
        bytes += "Line " + QByteArray::number(i) + " of a long help text, with words enough to fill a line.\r\n";
    QFile f(workDir + QStringLiteral("/readcubwave.txt"));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

void BM_HelpPageOpen(benchmark::State& state)
{
    QTemporaryDir dir;
    writeHelp(dir.path());
    for (auto _ : state) {
        HelpDialog dialog(dir.path());
        benchmark::DoNotOptimize(dialog.loading());
        state.PauseTiming();
        while (dialog.loading())
            QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HelpPageOpen)->Unit(benchmark::kMillisecond);

// The thread's own processor time: a turn's work without the time other programs on a busy
// machine held the processor.
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void BM_HelpPageFillTurn(benchmark::State& state)
{
    QTemporaryDir dir;
    writeHelp(dir.path());
    double longestMs = 0;
    double longestCpuMs = 0;
    qint64 turns = 0;
    for (auto _ : state) {
        state.PauseTiming();
        HelpDialog dialog(dir.path());
        state.ResumeTiming();
        while (dialog.loading()) {
            QElapsedTimer t;
            t.start();
            const double cpuStart = threadCpuMs();
            QCoreApplication::processEvents();
            longestCpuMs = std::max(longestCpuMs, threadCpuMs() - cpuStart);
            longestMs = std::max(longestMs, t.nsecsElapsed() / 1e6);
            ++turns;
        }
    }
    state.SetItemsProcessed(turns);
    state.counters["longest_turn_ms"] = longestMs;
    state.counters["longest_turn_cpu_ms"] = longestCpuMs;
    state.counters["turns"] = benchmark::Counter(double(turns), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HelpPageFillTurn)->Unit(benchmark::kMillisecond);

}  // namespace
