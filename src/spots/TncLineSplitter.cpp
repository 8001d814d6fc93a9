#include "spots/TncLineSplitter.h"

#include "spots/ReceivedText.h"

namespace cubwave {

TncLineSplitter::TncLineSplitter() { reset(); }

void TncLineSplitter::reset()
{
    buffer_ = QStringLiteral("\n");
    head_ = 0;
    discarding_ = false;
    droppedChars_ = 0;
}

void TncLineSplitter::feed(QStringView input)
{
    if (discarding_) {
        const qsizetype lf = input.indexOf(u'\n');
        if (lf < 0) {
            droppedChars_ += input.size();
            return;
        }
        // The buffer still ends in the line feed before the dropped line, which marks the
        // start of the next one.
        droppedChars_ += lf + 1;
        discarding_ = false;
        input = input.mid(lf + 1);
    }
    buffer_.append(input);

    // Whole lines wait here only until the next tick; a peer that sends far more than a tick
    // can show loses its oldest lines rather than growing the buffer.
    if (buffer_.size() - head_ > kMaxBufferChars) {
        const qsizetype cutAt = buffer_.indexOf(u'\n', buffer_.size() - kMaxBufferChars - 1);
        if (cutAt > head_) {
            droppedChars_ += cutAt - head_;
            head_ = cutAt;
        }
    }

    const qsizetype lastLf = buffer_.lastIndexOf(u'\n');
    if (buffer_.size() - lastLf - 1 > kMaxLineChars) {
        droppedChars_ += buffer_.size() - lastLf - 1;
        buffer_.truncate(lastLf + 1);
        discarding_ = true;
    }
    compact();
}

void TncLineSplitter::compact()
{
    // Lines are taken from the front by moving head_; the taken text is removed in one go once it
    // is the larger part, so taking n lines costs O(n) and not O(n^2).
    if (head_ > 0 && head_ >= buffer_.size() / 2) {
        buffer_.remove(0, head_);
        head_ = 0;
    }
}

std::optional<QString> TncLineSplitter::nextLine()
{
    while (true) {
        const qsizetype first = buffer_.indexOf(u'\n', head_);
        if (first < 0) {
            // Only while discarding can the line feed that marks a line's start be missing.
            return std::nullopt;
        }
        head_ = first;
        const qsizetype second = buffer_.indexOf(u'\n', first + 1);
        if (second < 0) {
            compact();
            return std::nullopt;
        }
        head_ = second;
        const qsizetype length = second - first;  // the line with its closing line feed
        if (length - 1 > kMaxLineChars) {
            droppedChars_ += length;
            continue;
        }
        return buffer_.mid(first + 1, length);
    }
}

std::vector<SpotLine> TncLineSplitter::process(ReceivedText& received, bool listDxOnly)
{
    std::vector<SpotLine> spots;
    if (droppedChars_ > 0) {
        received.appendAndTidy(QStringLiteral("\r\n[... %1 characters of TNC input dropped ...]\r\n")
                                   .arg(droppedChars_));
        droppedChars_ = 0;
    }
    while (const auto line = nextLine()) {
        if (received.isDuplicate(*line))
            continue;
        if (SpotColumns::isSpotLine(*line)) {
            received.appendAndTidy(*line);
            if (auto spot = SpotColumns::cut(*line))
                spots.push_back(std::move(*spot));
        } else if (!listDxOnly) {
            received.appendAndTidy(*line);
        }
    }
    compact();
    return spots;
}

QStringView TncLineSplitter::buffer() const { return QStringView(buffer_).mid(head_); }

}  // namespace cubwave
