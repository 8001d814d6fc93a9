#pragma once

#include "spots/SpotColumns.h"

#include <QString>
#include <QStringView>

#include <utility>
#include <vector>

namespace cubwave {

class ReceivedText;

// A cluster's Telnet text, arriving in chunks that split lines anywhere, put together into
// whole lines. CR, LF or CR LF ends a line, a CR LF split between two chunks included.
class TelnetLineAssembler {
public:
    // A partial line longer than this is dropped up to its line end.
    static constexpr qsizetype kMaxLineChars = 4096;

    // The whole lines the chunk completes, without their line ends. A pending partial line that
    // does not begin with "DX" ends when a chunk beginning with "DX" arrives (a prompt such as
    // "login: " has no line end and must not swallow the spot that follows).
    std::vector<QString> feed(QStringView chunk);
    // One chunk as the spot window takes it: shown as it arrives unless listDxOnly is on; every
    // spot line it completes handed over (and, with listDxOnly on, shown as a line).
    std::vector<SpotLine> takeChunk(QStringView chunk, ReceivedText& received, bool listDxOnly);
    // Drops the pending partial line, as a closed connection does.
    void reset();
    const QString& pending() const { return pending_; }

private:
    QString pending_;
    bool afterCr_ = false;     // the last character taken was a CR, so a LF next ends nothing
    bool discarding_ = false;  // inside an over-long line, waiting for its line end
    bool discardedSpot_ = false;  // that line began with "DX"
};

}  // namespace cubwave
