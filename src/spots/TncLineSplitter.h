#pragma once

#include "spots/SpotColumns.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace cubwave {

class ReceivedText;

// The TNC's serial input cut into lines that end in a line feed. A line is what follows one line
// feed up to and including the next; the buffer starts as a lone line feed, so the first line
// the TNC sends counts too.
class TncLineSplitter {
public:
    // A partial line longer than this is dropped up to its line feed: no cluster line is this
    // long, and the buffer must not grow with a peer that never ends its line.
    static constexpr qsizetype kMaxLineChars = 4096;
    // Input waiting for the next tick; beyond it the oldest whole lines are dropped, and the
    // received text says how much.
    static constexpr qsizetype kMaxBufferChars = 64 * 1024;

    TncLineSplitter();
    // Adds received text (one byte one character).
    void feed(QStringView input);
    // Adds bytes as the serial line gives them: one byte one character (Latin-1).
    void feedLatin1(QByteArrayView bytes) { feed(QString::fromLatin1(bytes)); }
    // The next whole line, with its closing line feed; nothing while the line is partial.
    std::optional<QString> nextLine();
    // Every whole line: a new one goes into the received text (a spot line always, another only
    // when listDxOnly is off); a duplicate of the newest received text is neither shown nor
    // handed over. Returns the spots to hand over, in order.
    std::vector<SpotLine> process(ReceivedText& received, bool listDxOnly);
    // Back to a lone line feed.
    void reset();
    // The input kept for the next lines.
    QStringView buffer() const;
    // Input dropped since process() last said so in the received text.
    qsizetype droppedChars() const { return droppedChars_; }

private:
    void compact();

    QString buffer_;
    qsizetype head_ = 0;       // where the untaken input begins
    bool discarding_ = false;  // inside an over-long line, waiting for its line feed
    qsizetype droppedChars_ = 0;  // dropped since the received text last said so
};

}  // namespace cubwave
