// Cluster traffic from a hostile peer: the first byte picks the piece size and "List DX Only",
// the rest arrives in pieces of that size, over Telnet (option refusal, then the line
// assembler) and from a TNC (the line splitter). Every buffer stays within its bound, every
// spot handed over is cut from a whole line, and the result does not depend on where the
// stream was cut (for Telnet, unless a piece begins with "DX", which ends a pending prompt).
#include "spots/ReceivedText.h"
#include "spots/SpotColumns.h"
#include "spots/TelnetLineAssembler.h"
#include "spots/TelnetNegotiation.h"
#include "spots/TncLineSplitter.h"

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
    return 0;
}
