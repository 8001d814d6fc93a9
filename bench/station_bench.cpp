// Prefix table load and lookups on the shipped table, and the bearing/distance computation.
// Targets: a load within 20 ms, a lookup (run on every keystroke of the call field) within 10 us.
#include "station/GreatCircle.h"
#include "station/PrefixTable.h"

#include <benchmark/benchmark.h>

#include <QFile>

#include <cstdlib>

using namespace cubwave;

namespace {

const QString kShippedPath = QStringLiteral(CUBWAVE_SOURCE_DIR "/data/arrlpre2.txt");

const PrefixTable& shipped()
{
    static const PrefixTable table = [] {
        PrefixTableLoad load = PrefixTable::read(kShippedPath);
        if (!load.ok) {
            fprintf(stderr, "cannot load %s: %s\n", qPrintable(kShippedPath), qPrintable(load.reason));
            std::exit(1);
        }
        return std::move(load.table);
    }();
    return table;
}

// A full 10,000-entry table, first letters spread evenly, for the worst-case load.
QByteArray fullTable()
{
    QByteArray bytes;
    for (int i = 0; i < PrefixTable::kMaxEntries; ++i) {
        bytes += QStringLiteral("\"%1%2\",\"Country number %3\",\"EU\",-12.43,41.9,\"15\",\"28\",\"-1.0\"\r\n")
                     .arg(QChar(u'A' + i * 26 / PrefixTable::kMaxEntries))
                     .arg(i, 4, 10, QChar(u'0'))
                     .arg(i % 340)
                     .toLatin1();
    }
    return bytes;
}

// Calls from the largest blocks of the shipped table (R, U, P) and the special cases.
const char* const kCalls[] = {"R9ABC", "UA0ABC", "PY2ABC", "W1AW", "G4ABC", "KG4ABC",
                              "ZS6ABC", "3D2AB", "W1AW/KH6", "QQ1ABC"};

void BM_ReadShippedTable(benchmark::State& state)
{
    for (auto _ : state) {
        PrefixTableLoad load = PrefixTable::read(kShippedPath);
        benchmark::DoNotOptimize(load.table.size());
    }
    state.SetLabel(QStringLiteral("%1 entries").arg(shipped().size()).toStdString());
}
BENCHMARK(BM_ReadShippedTable)->Unit(benchmark::kMillisecond);

void BM_ParseFullTable(benchmark::State& state)
{
    const QByteArray bytes = fullTable();
    for (auto _ : state) {
        PrefixTableLoad load = PrefixTable::parse(bytes);
        benchmark::DoNotOptimize(load.table.size());
    }
}
BENCHMARK(BM_ParseFullTable)->Unit(benchmark::kMillisecond);

void BM_LocateCall(benchmark::State& state)
{
    const PrefixTable& table = shipped();
    const QString call = QString::fromLatin1(kCalls[state.range(0)]);
    for (auto _ : state)
        benchmark::DoNotOptimize(table.locate(call));
    state.SetLabel(call.toStdString());
}
BENCHMARK(BM_LocateCall)->DenseRange(0, std::size(kCalls) - 1)->Unit(benchmark::kMicrosecond);

// Every prefix of the shipped table as a call: the mean over all blocks.
void BM_LocateEveryPrefix(benchmark::State& state)
{
    const PrefixTable& table = shipped();
    std::vector<QString> calls;
    for (int i = 1; i <= table.size(); ++i)
        calls.push_back(table.entry(i).prefix + QStringLiteral("1AB"));
    size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.locate(calls[k]));
        k = (k + 1) % calls.size();
    }
}
BENCHMARK(BM_LocateEveryPrefix)->Unit(benchmark::kMicrosecond);

void BM_SpotCountry(benchmark::State& state)
{
    const PrefixTable& table = shipped();
    const QString call = QString::fromLatin1(kCalls[state.range(0)]);
    for (auto _ : state)
        benchmark::DoNotOptimize(table.spotCountry(call));
    state.SetLabel(call.toStdString());
}
BENCHMARK(BM_SpotCountry)->Arg(0)->Arg(3)->Unit(benchmark::kMicrosecond);

// The worst completion walks every country name.
void BM_CompleteCountry(benchmark::State& state)
{
    const PrefixTable& table = shipped();
    const QString typed = state.range(0) ? QStringLiteral("Xq") : QStringLiteral("Ca");
    for (auto _ : state)
        benchmark::DoNotOptimize(table.completeCountry(typed, Qt::CaseInsensitive));
    state.SetLabel(typed.toStdString());
}
BENCHMARK(BM_CompleteCountry)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_HDCalc(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(GreatCircle::compute(41.71f, 72.73f, 51.5f, 0.13f));
}
BENCHMARK(BM_HDCalc)->Unit(benchmark::kMicrosecond);

}  // namespace

