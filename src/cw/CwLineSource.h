#pragma once

#include "cw/CwSettings.h"
#include "platform/KeyingLine.h"

#include <QString>

#include <memory>

namespace cubwave {

// Where the CW sender gets the line for the next character. Called on the window thread, at
// most one character ahead of the one on the air.
class CwLineSource {
public:
    struct Line {
        std::shared_ptr<KeyingLine> line;  // null: the line cannot be used
        // For a serial port that cannot be opened: the message box, and the system's reason.
        QString failureTitle;
        QString failureText;
        QString reason;
    };

    virtual ~CwLineSource() = default;
    // The line for the next character; a line held on another port than the settings name is
    // let go first, so it must not be called while a character keys that line.
    virtual Line lineFor(const CwSettings& settings) = 0;
    // A line is held on another port than the settings name: the next character waits until
    // none is on the air, and lineFor() lets that line go.
    virtual bool holdsAnotherPort(const CwSettings&) const { return false; }
};

}  // namespace cubwave
