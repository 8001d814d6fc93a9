#pragma once

#include "spots/AgwPacketEngine.h"

#include <QString>

#include <functional>

namespace cubwave {

// What one frame from the packet engine does in the spot window: the text to show, the spot line
// to hand over, and the connection it starts or ends.
struct AgwFrameOutcome {
    enum class Event { None, Connected, Disconnected };

    QString show;      // appended to the received text; empty for nothing
    QString spotLine;  // handed over as a spot, beginning with "DX"; empty for none
    Event event = Event::None;
    QString station;   // the station connected or disconnected

    bool operator==(const AgwFrameOutcome&) const = default;
};

// The rules for frames from the packet engine, as plain functions of the frame and the window's
// state, so tests drive them with values.
class AgwFrameRules {
public:
    // Text already in the received-text box, compared without case (the duplicate test).
    using IsDuplicate = std::function<bool(const QString& text)>;

    // The frame's data as it is shown: every CR and every LF becomes CR LF; a monitored frame
    // loses its header line (up to its first line break) and outer spaces, except a connection
    // report, whose one line is the news; a lone CR LF becomes empty, and a trailing blank line
    // is cut.
    static QString frameText(const AgwPacketEngine::Received& frame, bool stationConnected);

    // Applies the display and spot rules and the connection events to one frame, given the
    // station connected now (empty for none) and the "List DX Only" box.
    static AgwFrameOutcome apply(const AgwPacketEngine::Received& frame, const QString& connectedStation,
                                 bool listDxOnly, const IsDuplicate& isDuplicate);
};

}  // namespace cubwave
