#include "spots/TelnetLineAssembler.h"

#include "spots/ReceivedText.h"

namespace cubwave {

namespace {

qsizetype lineEnd(QStringView text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n')
            return i;
    }
    return -1;
}

}  // namespace

std::vector<QString> TelnetLineAssembler::feed(QStringView chunk)
{
    std::vector<QString> lines;
    if (chunk.isEmpty())
        return lines;

    // A prompt without a line end would otherwise run into the spot of the next chunk and cut
    // it at the wrong columns.
    if (SpotColumns::isSpotLine(chunk)) {
        if (discarding_ && !discardedSpot_) {
            discarding_ = false;
        } else if (!pending_.isEmpty() && !SpotColumns::isSpotLine(pending_)) {
            lines.push_back(std::exchange(pending_, QString()));
            afterCr_ = false;
        }
    }

    qsizetype pos = 0;
    if (afterCr_ && chunk[0] == u'\n')
        pos = 1;  // the LF of a CR LF split between two chunks
    afterCr_ = false;

    while (pos < chunk.size()) {
        const qsizetype end = lineEnd(chunk, pos);
        const QStringView piece = chunk.mid(pos, end < 0 ? chunk.size() - pos : end - pos);
        if (!discarding_) {
            if (pending_.size() + piece.size() > kMaxLineChars) {
                discardedSpot_ = SpotColumns::isSpotLine(pending_ + piece.left(2).toString());
                pending_.clear();
                discarding_ = true;
            } else {
                pending_.append(piece);
            }
        }
        if (end < 0)
            break;
        if (discarding_)
            discarding_ = false;
        else if (!pending_.isEmpty())
            lines.push_back(std::exchange(pending_, QString()));
        pos = end + 1;
        if (chunk[end] == u'\r') {
            if (pos < chunk.size() && chunk[pos] == u'\n')
                ++pos;
            else if (pos == chunk.size())
                afterCr_ = true;
        }
    }
    return lines;
}

std::vector<SpotLine> TelnetLineAssembler::takeChunk(QStringView chunk, ReceivedText& received, bool listDxOnly)
{
    if (!listDxOnly)
        received.appendAndTidy(chunk);
    std::vector<SpotLine> spots;
    for (const QString& line : feed(chunk)) {
        if (!SpotColumns::isSpotLine(line))
            continue;
        if (auto spot = SpotColumns::cut(line))
            spots.push_back(std::move(*spot));
        if (listDxOnly)
            received.appendAndTidy(line + QStringLiteral("\r\n"));
    }
    return spots;
}

void TelnetLineAssembler::reset()
{
    pending_.clear();
    afterCr_ = false;
    discarding_ = false;
    discardedSpot_ = false;
}

}  // namespace cubwave
