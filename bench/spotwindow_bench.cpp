// The spot window taking a cluster's traffic on the window thread: chunks decoded, cut into
// lines, spots handed over and the received text shown, one widget update per chunk. Targets:
// a 100-line chunk at most 3 ms; a 1 MiB line without a line end, arriving in 64 KiB chunks,
// at most 20 ms in all, of the window thread's CPU time. A run that misses a target ends with an error.
#include "platform/QtOneShotTimer.h"
#include "platform/SerialLine.h"
#include "platform/SettingsStore.h"
#include "platform/TcpClient.h"
#include "spots/AgwPacketEngine.h"
#include "ui/spots/DxSpottingWindow.h"

#include "BenchServices.h"
#include "BenchSpotPeers.h"

#include <benchmark/benchmark.h>

#include <QListWidget>
#include <QTemporaryDir>

#include <ctime>
#include <string>

using namespace cubwave;
using cubwave::bench::ChunkClient;
using cubwave::bench::EmptyStore;
using cubwave::bench::NoSerialLine;

namespace {

constexpr double kHundredLinesTargetMs = 3.0;
constexpr double kLongLineTargetMs = 20.0;

QByteArray spotLine(int n)
{
    const QByteArray call = "K" + QByteArray::number(n) + "ABC";
    const QByteArray freq = QByteArray::number(14000 + n % 350) + ".0";
    return QByteArray("DX de W3LPL:").leftJustified(15, ' ') + freq.rightJustified(9, ' ') + "  " +
           call.leftJustified(13, ' ') + QByteArray("CQ").leftJustified(31, ' ') + "1200Z\r\n";
}

// The window connected to the chunk client, as an operator leaves it.
struct OpenWindow {
    QTemporaryDir dir;
    ChunkClient telnet;
    NoSerialLine tnc;
    ChunkClient engineSocket;
    QtOneShotTimer engineTimer;
    EmptyStore store;
    AgwPacketEngine engine{engineSocket, engineTimer, store};
    bench::YesDialogs dialogs;
    bench::SilentBeeper beeper;
    int spots = 0;
    DxSpottingWindow window{{tnc, telnet, engine, dialogs, beeper, dir.path(), [] { return QStringLiteral("N0CUB"); },
                             [] { return QString(); }, [] { return QString(); }, [] {}}};

    OpenWindow()
    {
        QObject::connect(&window, &DxSpottingWindow::spotHandedOver, &window, [this] { ++spots; });
        window.load();
        auto* list = window.findChild<QListWidget*>(QStringLiteral("List1"));
        list->setCurrentRow(2);  // Telnet
        window.show();
        window.Command1_Click();
    }
};

// The window thread's own time: the machine's other work does not count against the window.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void BM_HundredLineChunk(benchmark::State& state)
{
    OpenWindow w;
    int n = 0;
    double worstMs = 0;
    double totalMs = 0;
    int chunks = 0;
    for (auto _ : state) {
        QByteArray chunk;
        for (int i = 0; i < 100; ++i)
            chunk += spotLine(n++);
        const double start = threadCpuMs();
        w.telnet.deliver(chunk);
        // Every chunk shown, as chunks a refresh apart are.
        w.window.showPendingText();
        const double ms = threadCpuMs() - start;
        worstMs = std::max(worstMs, ms);
        totalMs += ms;
        ++chunks;
    }
    const double meanMs = totalMs / std::max(1, chunks);
    state.counters["mean_ms"] = meanMs;
    state.counters["worst_ms"] = worstMs;
    state.counters["spots"] = w.spots;
    if (w.spots != chunks * 100)
        state.SkipWithError("not every spot of a chunk was handed over");
    else if (meanMs > kHundredLinesTargetMs)
        state.SkipWithError(("a 100-line chunk took " + std::to_string(meanMs) + " ms, over 3 ms").c_str());
}
BENCHMARK(BM_HundredLineChunk)->Unit(benchmark::kMillisecond);

void BM_OneMiBLineIn64KiBChunks(benchmark::State& state)
{
    double worstMs = 0;
    double totalMs = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<OpenWindow>();
        const QByteArray chunk(64 * 1024, 'x');
        state.ResumeTiming();
        const double start = threadCpuMs();
        for (int i = 0; i < 16; ++i)
            w->telnet.deliver(chunk);
        // The refresh that waited counts too.
        w->window.showPendingText();
        const double ms = threadCpuMs() - start;
        worstMs = std::max(worstMs, ms);
        totalMs += ms;
        ++runs;
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
    const double meanMs = totalMs / std::max(1, runs);
    state.counters["mean_ms"] = meanMs;
    state.counters["worst_ms"] = worstMs;
    if (meanMs > kLongLineTargetMs)
        state.SkipWithError(("a 1 MiB line took " + std::to_string(meanMs) + " ms, over 20 ms").c_str());
}
BENCHMARK(BM_OneMiBLineIn64KiBChunks)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
