// Memory taken by 100 MB of cluster text without a line end, through both the Telnet path
// (option refusal, assembler, received text) and the TNC splitter; and by 100,000 spots through
// the spot store, the spot list's 200 rows and the band map's layout. Target: the peak of the
// bytes allocated while it runs stays within 2 MB above what was allocated before (for the
// spots: after the first 200). A program of its own, because it counts every allocation of the
// process.
#include "spots/ReceivedText.h"
#include "spots/SpotListRow.h"
#include "spots/SpotMapLayout.h"
#include "spots/SpotStore.h"
#include "spots/TelnetLineAssembler.h"
#include "spots/TelnetNegotiation.h"
#include "spots/TncLineSplitter.h"
#include "station/PrefixTable.h"
#include "ui/spots/SpotListModel.h"

#include <benchmark/benchmark.h>

#include <QDateTime>

#include <atomic>
#include <cstdlib>
#include <malloc.h>

// Qt allocates its text with malloc, not operator new, so the count sits at malloc itself.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);
}

namespace {

std::atomic<long long> liveBytes{0};
std::atomic<long long> peakBytes{0};

void counted(long long delta)
{
    const long long now = liveBytes.fetch_add(delta, std::memory_order_relaxed) + delta;
    long long peak = peakBytes.load(std::memory_order_relaxed);
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}

}  // namespace

extern "C" {
void* malloc(size_t size)
{
    void* p = __libc_malloc(size);
    if (p)
        counted(static_cast<long long>(malloc_usable_size(p)));
    return p;
}
void* calloc(size_t n, size_t size)
{
    void* p = __libc_calloc(n, size);
    if (p)
        counted(static_cast<long long>(malloc_usable_size(p)));
    return p;
}
void* realloc(void* old, size_t size)
{
    const long long before = old ? static_cast<long long>(malloc_usable_size(old)) : 0;
    void* p = __libc_realloc(old, size);
    if (p)
        counted(static_cast<long long>(malloc_usable_size(p)) - before);
    else if (size == 0)
        counted(-before);
    return p;
}
void free(void* p)
{
    if (p)
        counted(-static_cast<long long>(malloc_usable_size(p)));
    __libc_free(p);
}
}

using namespace cubwave;

namespace {

constexpr qsizetype kChunkBytes = 64 * 1024;
constexpr long long kTotalBytes = 100LL * 1000 * 1000;

void BM_HundredMegabytesWithoutLineEnd(benchmark::State& state)
{
    const QByteArray chunk(kChunkBytes, 'Z');
    const QString chunkText = QString::fromLatin1(chunk);
    long long peakAbove = 0;
    for (auto _ : state) {
        TelnetNegotiation negotiation;
        TelnetLineAssembler assembler;
        TncLineSplitter splitter;
        ReceivedText telnetText;
        ReceivedText tncText;
        const long long before = liveBytes.load();
        peakBytes.store(before);
        for (long long sent = 0; sent < kTotalBytes; sent += kChunkBytes) {
            // The chunk a socket read hands over is the caller's; what the logic keeps is counted.
            const auto decoded = negotiation.decode(chunk);
            auto spots = assembler.takeChunk(decoded.text, telnetText, false);
            benchmark::DoNotOptimize(spots);
            splitter.feed(chunkText);
            auto tncSpots = splitter.process(tncText, false);
            benchmark::DoNotOptimize(tncSpots);
        }
        peakAbove = std::max(peakAbove, peakBytes.load() - before);
    }
    state.counters["peak_bytes_above_start"] = double(peakAbove);
    state.counters["within_2MB"] = peakAbove <= 2 * 1024 * 1024 ? 1 : 0;
    state.SetBytesProcessed(state.iterations() * kTotalBytes * 2);
}
BENCHMARK(BM_HundredMegabytesWithoutLineEnd)->Unit(benchmark::kMillisecond)->Iterations(1);

constexpr int kSpots = 100'000;
constexpr int kSettledSpots = 200;

void BM_HundredThousandSpotsThroughStoreListAndMap(benchmark::State& state)
{
    const PrefixTableLoad prefixes = PrefixTable::read(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/arrlpre2.txt"));
    if (!prefixes.ok) {
        state.SkipWithError("the shipped prefix table did not read");
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    long long peakAbove = 0;
    for (auto _ : state) {
        SpotStore store;
        SpotListModel list;
        long long settled = 0;
        for (int n = 0; n < kSpots; ++n) {
            if (n == kSettledSpots) {
                settled = liveBytes.load();
                peakBytes.store(settled);
            }
            const QString call = QStringLiteral("K%1AB%2").arg(n % 10).arg(n % 7919);
            const QString kHz = QString::number(14000.5 + n % 349);
            const QString record = QStringLiteral("de W3LPL:   ") + kHz.rightJustified(9) + QStringLiteral("  ") +
                                   call.leftJustified(13) + QStringLiteral("CQ").leftJustified(31) + QStringLiteral("1200Z");
            const SpotArrival arrival = store.add(call, kHz, record, QStringLiteral("N0CUB"), now, n * 10LL);
            list.addNewest(SpotListRow::from(call, arrival.frequencyMHz, arrival.record, prefixes.table));
            if (n % 100 == 0) {
                SpotMapLayout layout = SpotMapRules::bandMap(store, u"20", n * 10LL, 4.0f, ScaleLine{16, 1264});
                benchmark::DoNotOptimize(layout);
            }
        }
        peakAbove = std::max(peakAbove, peakBytes.load() - settled);
    }
    state.counters["peak_bytes_above_first_200"] = double(peakAbove);
    state.counters["within_2MB"] = peakAbove <= 2 * 1024 * 1024 ? 1 : 0;
    if (peakAbove > 2 * 1024 * 1024)
        state.SkipWithError("the spots' memory grew by more than 2 MB after the first 200");
}
BENCHMARK(BM_HundredThousandSpotsThroughStoreListAndMap)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
