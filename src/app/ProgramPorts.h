#pragma once

#include "app/ProgramVoice.h"
#include "app/ProgramWindows.h"
#include "platform/SerialLineSharing.h"
#include "ui/export/ExportCommands.h"
#include "ui/main/MainWindowPorts.h"

namespace cubwave {

// The one place that decides which implementation stands behind each of the main window's ports.
// Subsystems not yet in the program are given as their absent implementations.
class ProgramPorts {
public:
    explicit ProgramPorts(ExportServices exportServices);

    MainWindowPorts ports();
    // Subsystems add their windows here as they are wired.
    ProgramWindows& windows() { return windows_; }
    // The windows the subsystems keep loaded are children of the main window: called once it
    // is built, before its load sequence.
    void setMainWindow(QWidget* window);
    ProgramVoice& voice() { return voice_; }

private:
    AbsentCwKeyer cw_;
    AbsentRigControl rig_;
    AbsentSpotFeed spots_;
    ExportCommands exports_;
    ProgramWindows windows_;
    // The CW keying line, the PTT line and the WinKey keyer close one another.
    SerialLineSharing serialSharing_;
    ProgramVoice voice_;
};

}  // namespace cubwave
