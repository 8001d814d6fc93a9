#pragma once

#include "app/ProgramWindows.h"
#include "app/RigCommandWindows.h"
#include "app/RigWiring.h"
#include "platform/PosixSerialLine.h"
#include "platform/QtRigPollTimer.h"
#include "platform/SystemEnvironment.h"
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
    // The main window, the parent of the windows opened from it; set once it is built.
    void setMainWindow(QWidget* window);
    RigWiring& rig() { return rig_; }
    // The tune, raw-command test and privileges windows and the rig commands behind them.
    RigCommandWindows& rigCommands() { return rigCommands_; }

private:
    AbsentCwKeyer cw_;
    AbsentVoiceKeyer voice_;
    PosixSerialLine rigLine_;
    QtRigPollTimer rigTimer_;
    SystemEnvironment rigEnvironment_;
    RigWiring rig_;
    AbsentSpotFeed spots_;
    ExportCommands exports_;
    ProgramWindows windows_;
    RigCommandWindows rigCommands_;
};

}  // namespace cubwave
