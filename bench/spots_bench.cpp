// Spot lines. Targets: the column cut within 1 us a line; a TNC line through the splitter and the
// duplicate test against a full received-text box within 5 us; 64 KiB of cluster text through
// the Telnet assembler within 1 ms; a 1 MiB line in 64 KiB chunks (option refusal, assembler,
// received text) within a small part of the 20 ms the window thread may spend on it.
#include "spots/ReceivedText.h"
#include "spots/SpotColumns.h"
#include "spots/TelnetLineAssembler.h"
#include "spots/TelnetNegotiation.h"
#include "spots/TncLineSplitter.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace cubwave;

namespace {

QString clusterSpot(int n)
{
    QString line = QStringLiteral("DX de W%1LPL:").arg(n % 10);
    const QString frequency = QString::number(14000.0 + (n % 3500) / 10.0, 'f', 1);
    line += QString(qMax<qsizetype>(1, 24 - line.size() - frequency.size()), u' ') + frequency;
    line += QStringLiteral("  ") + QStringLiteral("K%1ABC").arg(n).leftJustified(13) + u' '
            + QStringLiteral("CQ CQ up 2").leftJustified(30) + u' ' + QStringLiteral("1234Z");
    return line;
}

// Distinct lines, so that none is a duplicate and each one is shown and handed over.
const std::vector<QString>& distinctLines()
{
    static const std::vector<QString> lines = [] {
        std::vector<QString> all;
        for (int i = 0; i < 20000; ++i)
            all.push_back(clusterSpot(i) + QStringLiteral("\r\n"));
        return all;
    }();
    return lines;
}

void BM_SpotColumnsCut(benchmark::State& state)
{
    const QString line = clusterSpot(42);
    for (auto _ : state) {
        auto spot = SpotColumns::cut(line);
        benchmark::DoNotOptimize(spot);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SpotColumnsCut);

void BM_TncSplitterWithDuplicateTestOnAFullBox(benchmark::State& state)
{
    const auto& lines = distinctLines();
    TncLineSplitter splitter;
    ReceivedText received;
    // A box just under the tidy limit, as it stands after a while on the air.
    while (received.text().size() < ReceivedText::kTidyAbove - 100)
        received.append(QStringLiteral("some chat from the node, not a spot at all 0123456789\r\n"));
    size_t next = 0;
    for (auto _ : state) {
        splitter.feed(lines[next]);
        auto spots = splitter.process(received, false);
        benchmark::DoNotOptimize(spots);
        next = (next + 1) % lines.size();
    }
    state.counters["box_chars"] = double(received.text().size());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TncSplitterWithDuplicateTestOnAFullBox);

QString telnetText(qsizetype chars)
{
    QString text;
    for (int i = 0; text.size() < chars; ++i)
        text += distinctLines()[size_t(i) % distinctLines().size()];
    text.truncate(chars);
    return text;
}

void BM_TelnetAssembler64KiB(benchmark::State& state)
{
    const QString chunk = telnetText(64 * 1024);
    TelnetLineAssembler assembler;
    size_t spots = 0;
    for (auto _ : state) {
        const auto lines = assembler.feed(chunk);
        spots += lines.size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines_per_chunk"] = double(spots) / double(state.iterations());
    state.SetBytesProcessed(state.iterations() * chunk.size());
}
BENCHMARK(BM_TelnetAssembler64KiB)->Unit(benchmark::kMicrosecond);

// The whole path of one received 64 KiB chunk short of the widget: option refusal, assembly,
// the chunk shown in the received text, every spot cut.
void BM_TelnetChunk64KiBWithSpotsAndText(benchmark::State& state)
{
    const QByteArray bytes = telnetText(64 * 1024).toLatin1();
    TelnetNegotiation negotiation;
    TelnetLineAssembler assembler;
    ReceivedText received;
    for (auto _ : state) {
        const auto decoded = negotiation.decode(bytes);
        auto spots = assembler.takeChunk(decoded.text, received, false);
        benchmark::DoNotOptimize(spots);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_TelnetChunk64KiBWithSpotsAndText)->Unit(benchmark::kMicrosecond);

void BM_OneMiBLineIn64KiBChunks(benchmark::State& state)
{
    const QByteArray chunk(64 * 1024, 'Z');
    for (auto _ : state) {
        TelnetNegotiation negotiation;
        TelnetLineAssembler assembler;
        ReceivedText received;
        for (int i = 0; i < 16; ++i) {
            const auto decoded = negotiation.decode(chunk);
            auto spots = assembler.takeChunk(decoded.text, received, false);
            benchmark::DoNotOptimize(spots);
        }
        auto spots = assembler.takeChunk(u"\r\n", received, false);
        benchmark::DoNotOptimize(spots);
    }
}
BENCHMARK(BM_OneMiBLineIn64KiBChunks)->Unit(benchmark::kMillisecond);

}  // namespace
