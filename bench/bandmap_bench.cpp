// The main window's band map and spot list. Targets: a spot into the store and the 200-row list,
// country lookup included, at most 20 us; the band map's layout of 50 spots at most 20 us;
// painting the band map 1280 px wide with 50 captions at most 1 ms; a 100-line cluster chunk
// through the Telnet path into the store, the list and one painted band map at most 8 ms of the
// window thread's CPU time. A run that misses a target ends with an error.
#include "BenchServices.h"
#include "BenchSpotPeers.h"
#include "platform/QtOneShotTimer.h"
#include "platform/SerialLine.h"
#include "platform/SettingsStore.h"
#include "platform/SystemClock.h"
#include "platform/TcpClient.h"
#include "spots/AgwPacketEngine.h"
#include "spots/SpotListRow.h"
#include "spots/SpotMapLayout.h"
#include "spots/SpotStore.h"
#include "station/PrefixTable.h"
#include "ui/main/AbsentPorts.h"
#include "ui/main/MainWindow.h"
#include "ui/spots/BandMapView.h"
#include "ui/spots/DxSpottingWindow.h"
#include "ui/spots/SpotListModel.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QImage>
#include <QListWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <array>
#include <ctime>
#include <string>
#include <utility>

using namespace cubwave;
using cubwave::bench::ChunkClient;
using cubwave::bench::EmptyStore;
using cubwave::bench::NoSerialLine;

namespace {

constexpr double kSpotTargetUs = 20.0;
constexpr double kLayoutTargetUs = 20.0;
constexpr double kPaintTargetMs = 1.0;
constexpr double kChunkTargetMs = 8.0;

const QString kShippedPrefixes = QStringLiteral(CUBWAVE_SOURCE_DIR "/data/arrlpre2.txt");

// Calls from many countries, so the lookups walk different blocks of the table.
QString callNumber(int n)
{
    static const std::array<const char*, 12> prefixes{"K", "JA", "DL", "VK", "PY", "ZS", "VE", "G", "UA", "LU", "EA", "3DA"};
    return QString::fromLatin1(prefixes[size_t(n) % prefixes.size()]) + QString::number(n % 10) +
           QStringLiteral("A%1").arg(n % 676, 3, 36, QLatin1Char('0')).toUpper();
}

QString recordFor(const QString& call, const QString& freqKHz)
{
    return QStringLiteral("de W3LPL:").leftJustified(12) + freqKHz.rightJustified(9) + QStringLiteral("  ") +
           call.leftJustified(13) + QStringLiteral("CQ CQ").leftJustified(31) + QStringLiteral("1200Z");
}

// The window thread's own time: the machine's other work does not count against the window.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The mean CPU time of one iteration since startMs, as a counter, against its target. The first
// short trial runs that only size the final run are not judged.
void checkMean(benchmark::State& state, double startMs, double targetMs, const char* what)
{
    const double meanMs = (threadCpuMs() - startMs) / double(std::max<benchmark::IterationCount>(1, state.iterations()));
    state.counters["mean_us"] = meanMs * 1000.0;
    if (state.iterations() >= 100 && meanMs > targetMs)
        state.SkipWithError((std::string(what) + " took " + std::to_string(meanMs * 1000.0) + " us, over " +
                             std::to_string(targetMs * 1000.0) + " us")
                                .c_str());
}

// 50 spots on 20 m, all fresh.
void fillBand(SpotStore& store, qint64 nowTicks)
{
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < SpotStore::kSlots; ++i) {
        const QString kHz = QString::number(14000.5 + i * 6.5);
        store.add(callNumber(i), kHz, recordFor(callNumber(i), kHz), QStringLiteral("N0CUB"), now, nowTicks);
    }
}

// A band map 1280 px wide over 50 fresh spots on 20 m.
struct FilledBandMap {
    SpotStore store;
    BandMapView view;

    FilledBandMap()
    {
        fillBand(store, 0);
        view.resize(1280, 160);
        view.setLayoutSource([this](ScaleLine line) { return SpotMapRules::bandMap(store, u"20", 1000, 4.0f, line); });
    }
};

void BM_SpotIntoStoreAndList(benchmark::State& state)
{
    const PrefixTableLoad prefixes = PrefixTable::read(kShippedPrefixes);
    if (!prefixes.ok) {
        state.SkipWithError("the shipped prefix table did not read");
        return;
    }
    SpotStore store;
    SpotListModel model;
    QTableView view;
    view.setModel(&model);
    view.resize(1240, 200);
    view.show();
    const QDateTime now = QDateTime::currentDateTime();
    std::vector<std::pair<QString, QString>> spots;
    for (int i = 0; i < 4096; ++i)
        spots.emplace_back(callNumber(i * 7), QString::number(14000.0 + (i * 37) % 350, 'f', 1));
    const auto add = [&](int n) {
        const auto& [call, kHz] = spots[size_t(n) % spots.size()];
        const QString record = recordFor(call, kHz);
        const SpotArrival arrival = store.add(call, kHz, record, QStringLiteral("N0CUB"), now, n);
        model.addNewest(SpotListRow::from(call, arrival.frequencyMHz, arrival.record, prefixes.table));
    };
    for (int i = 0; i < SpotListModel::kMaxRows; ++i)
        add(i);
    QCoreApplication::processEvents();
    int n = SpotListModel::kMaxRows;
    const double start = threadCpuMs();
    for (auto _ : state)
        add(n++);
    checkMean(state, start, kSpotTargetUs / 1000.0, "a spot into the store and the list");
    QCoreApplication::processEvents();
    if (model.rowCount() != SpotListModel::kMaxRows)
        state.SkipWithError("the list does not hold 200 rows");
}
BENCHMARK(BM_SpotIntoStoreAndList)->Unit(benchmark::kMicrosecond);

void BM_BandMapLayoutOf50(benchmark::State& state)
{
    SpotStore store;
    fillBand(store, 0);
    const double start = threadCpuMs();
    for (auto _ : state) {
        SpotMapLayout layout = SpotMapRules::bandMap(store, u"20", 1000, 4.0f, ScaleLine{16, 1264});
        benchmark::DoNotOptimize(layout);
    }
    checkMean(state, start, kLayoutTargetUs / 1000.0, "the layout of 50 spots");
}
BENCHMARK(BM_BandMapLayoutOf50)->Unit(benchmark::kMicrosecond);

// The panel as the window lays it out: the rules plus each caption's place and size. Shown for
// where a repaint's time goes; it runs inside every paint, so the paint's limit below judges it.
void BM_BandMapViewLayoutOf50(benchmark::State& state)
{
    FilledBandMap map;
    BandMapView& view = map.view;
    for (auto _ : state) {
        view.requestDisplay();
        view.layOutIfDue();
    }
    if (view.layout().shown.size() != size_t(SpotStore::kSlots))
        state.SkipWithError("not every spot was laid out");
}
BENCHMARK(BM_BandMapViewLayoutOf50)->Unit(benchmark::kMicrosecond);

void BM_PaintBandMap1280WithFiftyCaptions(benchmark::State& state)
{
    FilledBandMap map;
    BandMapView& view = map.view;
    QImage target(view.size(), QImage::Format_RGB32);
    view.render(&target);
    const double start = threadCpuMs();
    for (auto _ : state) {
        view.requestDisplay();
        view.render(&target);
    }
    checkMean(state, start, kPaintTargetMs, "painting the band map");
    if (view.layout().shown.size() != size_t(SpotStore::kSlots))
        state.SkipWithError("not every spot was painted");
}
BENCHMARK(BM_PaintBandMap1280WithFiftyCaptions)->Unit(benchmark::kMillisecond);

// ---- a cluster chunk through the spot window into the main window ----

// The spot feed as the program wires it: every spot the window hands over goes to the listeners.
class WindowFeed final : public SpotFeedPort {
public:
    void addSpotListener(SpotListener listener) override { listeners.push_back(std::move(listener)); }
    void onDisplayChosen(DisplayListener) override {}
    void onRepaintDue(std::function<void()>) override {}
    void onStatus(std::function<void(const QString&)>) override {}
    void openAtStartup() override {}
    void unload() override {}
    std::vector<SpotListener> listeners;
};

QByteArray spotLine(int n)
{
    const QByteArray call = callNumber(n).toLatin1();
    const QByteArray freq = QByteArray::number(14001 + n % 340) + ".0";
    return QByteArray("DX de W3LPL:").leftJustified(15, ' ') + freq.rightJustified(9, ' ') + "  " +
           call.leftJustified(13, ' ') + QByteArray("CQ").leftJustified(31, ' ') + "1200Z\r\n";
}

void BM_HundredSpotChunkToBandMapAndList(benchmark::State& state)
{
    QTemporaryDir dir;
    bench::seedWorkingDir(dir.path(), 200);
    QFile::copy(kShippedPrefixes, QDir(dir.path()).filePath("arrlpre2.txt"));
    SystemClock clock;
    bench::YesDialogs dialogs;
    bench::SilentBeeper beeper;
    bench::FixedDesktop desktop;
    AbsentPorts absent;
    WindowFeed feed;
    MainWindowPorts ports = absent.ports();
    MainWindow form({clock, dialogs, beeper, dir.path(), dir.path(), dir.path(), [](int) {}, [](QDialog&) { return 0; },
                     {}, &desktop},
                    {ports.cw, ports.voice, ports.rig, feed, ports.exports, ports.windows});
    form.loadWindow();
    form.show();
    form.bandCommand(QStringLiteral("20"));
    form.packetResize(QStringLiteral("Telnet"), QStringLiteral("Band Map"));
    QCoreApplication::processEvents();
    auto* map = form.findChild<BandMapView*>(QStringLiteral("lblDX"));

    ChunkClient telnet;
    NoSerialLine tnc;
    ChunkClient engineSocket;
    QtOneShotTimer engineTimer;
    EmptyStore settings;
    AgwPacketEngine engine{engineSocket, engineTimer, settings};
    DxSpottingWindow window{{tnc, telnet, engine, dialogs, beeper, dir.path(), [] { return QStringLiteral("N0CUB"); },
                             [] { return QString(); }, [] { return QString(); }, [] {}}};
    QObject::connect(&window, &DxSpottingWindow::spotHandedOver, &window,
                     [&](const QString& call, const QString& freq, const QString& record) {
                         for (const auto& listener : feed.listeners)
                             listener(call, freq, record);
                     });
    window.load();
    window.findChild<QListWidget*>(QStringLiteral("List1"))->setCurrentRow(2);  // Telnet
    window.Command1_Click();
    QCoreApplication::processEvents();

    int n = 0;
    double worstMs = 0;
    double totalMs = 0;
    int chunks = 0;
    const int layoutsBefore = map->layouts();
    const int paintsBefore = map->paints();
    for (auto _ : state) {
        QByteArray chunk;
        for (int i = 0; i < 100; ++i)
            chunk += spotLine(n++);
        const double start = threadCpuMs();
        telnet.deliver(chunk);
        window.showPendingText();
        // The main window's paint that follows the chunk.
        QCoreApplication::processEvents();
        const double ms = threadCpuMs() - start;
        worstMs = std::max(worstMs, ms);
        totalMs += ms;
        ++chunks;
    }
    const double meanMs = totalMs / std::max(1, chunks);
    state.counters["mean_ms"] = meanMs;
    state.counters["worst_ms"] = worstMs;
    state.counters["layouts_per_chunk"] = double(map->layouts() - layoutsBefore) / std::max(1, chunks);
    state.counters["paints_per_chunk"] = double(map->paints() - paintsBefore) / std::max(1, chunks);
    const bool shown = map->layout().shown.size() == size_t(SpotStore::kSlots);
    if (!shown)
        state.SkipWithError("the band map does not show the last 50 spots");
    else if (meanMs > kChunkTargetMs)
        state.SkipWithError(("a 100-spot chunk took " + std::to_string(meanMs) + " ms, over 8 ms").c_str());
}
BENCHMARK(BM_HundredSpotChunkToBandMapAndList)->Unit(benchmark::kMillisecond);

}  // namespace
