// The per-keystroke and per-commit scans over a full 11,000-contact log: one partial-duplicate
// search, one exact duplicate scan and one rate computation (target 0.2 ms each).
#include "core/DupCheck.h"
#include "core/LogStore.h"
#include "core/PartialDupSearch.h"
#include "core/TimeStats.h"

#include <benchmark/benchmark.h>

using namespace cubwave;

namespace {

const QDateTime kNowUtc(QDate(2026, 6, 14), QTime(18, 0, 0), Qt::UTC);

// An event's log: distinct-looking calls, bands and modes mixed (or all on 20 m CW), one
// contact every spacingSecs up to now.
LogStore makeLog(bool oneBandAndMode, int spacingSecs)
{
    static const char* const bands[] = {"80", "40", "20", "15", "10", "6", "2", "160"};
    std::vector<QsoRecord> records;
    records.reserve(LogStore::kCapacity);
    for (int i = 0; i < LogStore::kCapacity; ++i) {
        QsoRecord r;
        r[QsoRecord::Call] = QStringLiteral("%1%2%3%4")
                                 .arg(QChar(u"KWNA"[i % 4]))
                                 .arg(i % 10)
                                 .arg(QChar(u'A' + i / 10 % 26))
                                 .arg(QChar(u'A' + i / 260 % 26));
        r[QsoRecord::Name] = QStringLiteral("Tom");
        r[QsoRecord::Age] = QStringLiteral("12");
        r[QsoRecord::Spc] = QStringLiteral("CT");
        r[QsoRecord::Other] = QStringLiteral("Blue");
        const QDateTime t = kNowUtc.addSecs(-static_cast<qint64>(LogStore::kCapacity - 1 - i) * spacingSecs);
        r[QsoRecord::Date] = t.toString(QStringLiteral("yyyy/MM/dd"));
        r[QsoRecord::Time] = t.toString(QStringLiteral("HH:mm:ss"));
        r[QsoRecord::Band] = QString::fromLatin1(oneBandAndMode ? "20" : bands[i % 8]);
        r[QsoRecord::Mode] = QString::fromLatin1(oneBandAndMode || i % 3 ? "CW" : "PH");
        records.push_back(r);
    }
    LogStore store;
    store.load(std::move(records));
    return store;
}

void partialSearch(benchmark::State& state, bool oneBandAndMode)
{
    const LogStore log = makeLog(oneBandAndMode, 15);
    PartialDupSearch::Input in;
    in.fieldText = QStringLiteral("K1A");
    in.keyCode = 'B';
    in.band = QStringLiteral("20");
    in.mode = QStringLiteral("CW");
    for (auto _ : state)
        benchmark::DoNotOptimize(PartialDupSearch::run(log, in));
}
void BM_PartialSearchMixedLog(benchmark::State& state) { partialSearch(state, false); }
void BM_PartialSearchAllOn20CW(benchmark::State& state) { partialSearch(state, true); }

void dupCheck(benchmark::State& state, const QString& call)
{
    const LogStore log = makeLog(false, 15);
    DupCheck::Input in;
    in.call = call;
    in.band = QStringLiteral("20");
    in.mode = QStringLiteral("CW");
    in.listPrevious = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(DupCheck::run(log, in));
}
// A new call: the whole log is scanned.
void BM_DupCheckNewCall(benchmark::State& state) { dupCheck(state, QStringLiteral("W9ZZZ")); }
// A call worked on other bands only: scanned whole, with rows and fills.
void BM_DupCheckWorkedElsewhere(benchmark::State& state) { dupCheck(state, QStringLiteral("K0AA")); }

void timeStats(benchmark::State& state, int spacingSecs)
{
    const LogStore log = makeLog(false, spacingSecs);
    for (auto _ : state)
        benchmark::DoNotOptimize(TimeStats::compute(log, kNowUtc.addSecs(-4 * 3600), 4.0f));
}
// One contact every 15 s: the walk reads the last 240 records.
void BM_TimeStatsBusyHour(benchmark::State& state) { timeStats(state, 15); }
// Every record within the hour (post-contest bulk entry): the walk reads all 11,000.
void BM_TimeStatsWholeLogInTheHour(benchmark::State& state) { timeStats(state, 0); }

}  // namespace

BENCHMARK(BM_PartialSearchMixedLog)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PartialSearchAllOn20CW)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DupCheckNewCall)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DupCheckWorkedElsewhere)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TimeStatsBusyHour)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TimeStatsWholeLogInTheHour)->Unit(benchmark::kMicrosecond);

