// Cluster traffic from a hostile peer: the first byte picks the piece size and "List DX Only",
// the rest arrives in pieces of that size, over Telnet (option refusal, then the line
// assembler) and from a TNC (the line splitter). Every buffer stays within its bound, every
// spot handed over is cut from a whole line, and the result does not depend on where the
// stream was cut (for Telnet, unless a piece begins with "DX", which ends a pending prompt).
// Every spot then goes on as the main window takes it: into the spot store, a spot list row
// (country lookup included) and both band maps' layouts, which place only spots inside their
// scales, each slot once, newest first.
#include "spots/CallPrefix.h"
#include "spots/ReceivedText.h"
#include "spots/SpotColumns.h"
#include "spots/SpotListRow.h"
#include "spots/SpotMapLayout.h"
#include "spots/SpotStore.h"
#include "spots/TelnetLineAssembler.h"
#include "spots/TelnetNegotiation.h"
#include "spots/TncLineSplitter.h"
#include "station/PrefixTable.h"

#include <QDateTime>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace cubwave;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

void checkSpot(const SpotLine& spot)
{
    check(spot.call.size() <= SpotColumns::kCallWidth);
    check(spot.frequencyText.size() <= SpotColumns::kFrequencyWidth);
    for (const QString* text : {&spot.call, &spot.frequencyText})
        check(!text->contains(u'\n'));
}

struct TelnetRun {
    QString text;
    QByteArray answer;
    std::vector<QString> lines;
    std::vector<SpotLine> spots;
    bool pieceBeganWithDx = false;
};

TelnetRun telnet(QByteArrayView bytes, qsizetype pieceSize, bool listDxOnly)
{
    TelnetNegotiation negotiation;
    TelnetLineAssembler assembler;
    TelnetLineAssembler linesOnly;
    ReceivedText received;
    TelnetRun run;
    for (qsizetype at = 0; at < bytes.size(); at += pieceSize) {
        const auto decoded = negotiation.decode(bytes.sliced(at, std::min(pieceSize, bytes.size() - at)));
        run.text += decoded.text;
        run.answer += decoded.answer;
        if (!run.text.isEmpty() && decoded.text.size() != run.text.size() && SpotColumns::isSpotLine(decoded.text))
            run.pieceBeganWithDx = true;
        for (SpotLine& spot : assembler.takeChunk(decoded.text, received, listDxOnly)) {
            checkSpot(spot);
            run.spots.push_back(std::move(spot));
        }
        for (QString& line : linesOnly.feed(decoded.text)) {
            check(line.size() <= TelnetLineAssembler::kMaxLineChars);
            check(!line.contains(u'\r') && !line.contains(u'\n'));
            run.lines.push_back(std::move(line));
        }
        check(assembler.pending().size() <= TelnetLineAssembler::kMaxLineChars);
        check(received.text().size() <= ReceivedText::kHardLimit);
    }
    // Every answer is a refusal of one option.
    check(run.answer.size() % 3 == 0);
    for (qsizetype i = 0; i < run.answer.size(); i += 3) {
        check(uchar(run.answer[i]) == TelnetNegotiation::kIac);
        check(uchar(run.answer[i + 1]) == TelnetNegotiation::kWont || uchar(run.answer[i + 1]) == TelnetNegotiation::kDont);
    }
    return run;
}

struct TncRun {
    std::vector<SpotLine> spots;
    QString received;
};

TncRun tnc(QStringView text, qsizetype pieceSize, bool listDxOnly)
{
    TncLineSplitter splitter;
    ReceivedText received;
    TncRun run;
    for (qsizetype at = 0; at < text.size(); at += pieceSize) {
        splitter.feed(text.sliced(at, std::min(pieceSize, text.size() - at)));
        check(splitter.buffer().size() <= TncLineSplitter::kMaxBufferChars + TncLineSplitter::kMaxLineChars + 1);
        for (SpotLine& spot : splitter.process(received, listDxOnly)) {
            checkSpot(spot);
            run.spots.push_back(std::move(spot));
        }
        check(received.text().size() <= ReceivedText::kHardLimit);
    }
    run.received = received.text();
    return run;
}

const PrefixTable& prefixes()
{
    static const PrefixTable table = PrefixTable::parse(
        "\"3DA\",\"Swaziland\",\"AF\",-31.1,-26.3,\"57\",\"38\",\"-2.0\"\r\n"
        "\"JA\",\"Japan\",\"AS\",-139.7,35.7,\"25\",\"45\",\"-9.0\"\r\n"
        "\"K\",\"United States\",\"NA\",77.0,38.9,\"5\",\"8\",\"5.0\"\r\n"
        "\"VE\",\"Canada\",\"NA\",75.7,45.4,\"5\",\"9\",\"5.0\"\r\n")
                                          .table;
    return table;
}

void checkLayout(const SpotStore& store, const SpotMapLayout& layout, size_t rows, qint64 nowTicks)
{
    check(layout.scales.size() == rows || (rows == 1 && layout.scales.empty()));
    std::array<bool, SpotStore::kSlots> seen{};
    int previous = SpotStore::kSlots;
    for (const PlacedSpot& spot : layout.shown) {
        check(spot.slot >= 0 && spot.slot < previous);  // newest first, each slot once
        previous = spot.slot;
        check(!seen[size_t(spot.slot)]);
        seen[size_t(spot.slot)] = true;
        check(spot.row >= 0 && size_t(spot.row) < layout.scales.size());
        const SpotScale& scale = layout.scales[size_t(spot.row)];
        const SpotSlot& slot = store.slot(spot.slot);
        check(scale.contains(slot.frequencyMHz));
        check(spot.centreX >= 10.0 && spot.centreX <= 1010.0);
        check(SpotMapRules::ageClass(slot.ageSeconds(nowTicks)).has_value());
        check(spot.caption == slot.caption);
    }
    for (const SpotScale& scale : layout.scales)
        check(scale.lowerMHz < scale.upperMHz);
    if (layout.stoppedAtSlot)
        check(layout.shown.empty() || layout.shown.back().slot > *layout.stoppedAtSlot);
}

// The hand-over as the main window does it, with each spot a number of seconds after the last.
void handOver(const std::vector<SpotLine>& spots, QByteArrayView gaps)
{
    SpotStore store;
    const QDateTime start(QDate(2026, 6, 13), QTime(14, 5, 33), Qt::UTC);
    qint64 ticks = 0;
    for (size_t i = 0; i < spots.size(); ++i) {
        const SpotLine& spot = spots[i];
        ticks += 1000LL * (gaps.isEmpty() ? 1 : uchar(gaps[qsizetype(i) % gaps.size()]) * 16);
        const QString caption = callPrefix(spot.call);
        check(caption.size() <= spot.call.size());
        const SpotArrival arrival = store.add(spot.call, spot.frequencyText, spot.record, spot.call.left(3),
                                              start.addMSecs(ticks), ticks);
        if (arrival.stored) {
            check(store.slot(SpotStore::kSlots - 1).call == spot.call);
            check(!arrival.record.contains(u'\r'));
            const SpotListRow row = SpotListRow::from(spot.call, arrival.frequencyMHz, arrival.record, prefixes());
            check(row.cells[SpotListRow::Call] == spot.call);
            check(row.cells[SpotListRow::Status].isEmpty());
        }
        // At most one slot of a call stays on the maps.
        for (int a = 0; a < SpotStore::kSlots && !spot.call.isEmpty(); ++a) {
            const SpotSlot& s = store.slot(a);
            if (s.frequencyMHz != 0 && a != SpotStore::kSlots - 1 && arrival.stored)
                check(s.call.compare(spot.call, Qt::CaseInsensitive) != 0);
        }
        for (const char* band : {"160", "80", "40", "20", "15", "10", "6", "2", "12"}) {
            const SpotMapLayout map =
                SpotMapRules::bandMap(store, QString::fromLatin1(band), ticks, -5.5f, ScaleLine{10, 1010});
            checkLayout(store, map, 1, ticks);
        }
        std::array<ScaleLine, 11> lines;
        lines.fill(ScaleLine{10, 1010});
        checkLayout(store, SpotMapRules::spectrum(store, ticks, 13.0f, lines), 11, ticks);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const qsizetype pieceSize = 1 + (data[0] & 0x7F);
    const bool listDxOnly = data[0] & 0x80;
    const QByteArrayView bytes(data + 1, qsizetype(size - 1));

    const TelnetRun pieces = telnet(bytes, pieceSize, listDxOnly);
    const TelnetRun whole = telnet(bytes, qMax<qsizetype>(1, bytes.size()), listDxOnly);
    check(pieces.text == whole.text);
    check(pieces.answer == whole.answer);
    if (!pieces.pieceBeganWithDx)
        check(pieces.lines == whole.lines);

    const QString latin1 = QString::fromLatin1(bytes);
    const TncRun tncPieces = tnc(latin1, pieceSize, listDxOnly);
    // Lines over the limit are dropped at different moments, and the note saying so lands in
    // the text at different places; below it the split must not matter.
    if (latin1.size() <= TncLineSplitter::kMaxLineChars) {
        const TncRun tncWhole = tnc(latin1, qMax<qsizetype>(1, latin1.size()), listDxOnly);
        check(tncPieces.spots == tncWhole.spots);
        check(tncPieces.received == tncWhole.received);
    }

    // The first bytes set the time between spots, so ages cross their limits.
    handOver(pieces.spots, bytes.first(std::min<qsizetype>(bytes.size(), 8)));
    handOver(tncPieces.spots, bytes.last(std::min<qsizetype>(bytes.size(), 8)));
    return 0;
}
