#pragma once

#include "cw/CwSettings.h"
#include "platform/KeyingLine.h"

#include <QString>

#include <memory>

namespace cubwave {

// Where the CW sender gets the line for the next character. Called on the window thread
// between characters only.
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
    virtual Line lineFor(const CwSettings& settings) = 0;
};

}  // namespace cubwave
