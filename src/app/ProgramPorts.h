#pragma once

#include "app/ProgramVoice.h"
#include "app/ProgramWindows.h"
#include "app/RigCommandWindows.h"
#include "app/RigWiring.h"
#include "app/SpotWiring.h"
#include "cw/CwKeyer.h"
#include "cw/WinKeyDriver.h"
#include "cw/WinKeyDriverLink.h"
#include "cw/WinKeyKeyer.h"
#include "platform/MonotonicKeyingTimer.h"
#include "platform/PosixSerialLine.h"
#include "platform/PpdevParallelPorts.h"
#include "platform/QtOneShotTimer.h"
#include "platform/QtRigPollTimer.h"
#include "platform/QtTcpClient.h"
#include "rig/RigctldConversation.h"
#include "platform/SerialLineSharing.h"
#include "platform/SystemEnvironment.h"
#include "ui/export/ExportCommands.h"
#include "ui/main/MainWindowPorts.h"

#include <QPointer>

namespace cubwave {

class CwSetupWindow;
class CwStringsWindow;
class MainWindow;
class WinKeyWindow;

// The one place that decides which implementation stands behind each of the main window's ports.
// Subsystems not yet in the program are given as their absent implementations.
class ProgramPorts {
public:
    explicit ProgramPorts(ExportServices exportServices);
    ~ProgramPorts();

    MainWindowPorts ports();
    // Subsystems add their windows here as they are wired.
    ProgramWindows& windows() { return windows_; }
    RigWiring& rig() { return rig_; }
    SpotWiring& spots() { return spots_; }
    // The tune, raw-command test and privileges windows and the rig commands behind them.
    RigCommandWindows& rigCommands() { return rigCommands_; }

    // The subsystems' windows are the main window's children (or opened over it); called once it
    // is built and before its load sequence, which expects the CW settings read.
    void setMainWindow(MainWindow& form);

    CwKeyer& cwKeyer() { return cw_; }
    ProgramVoice& voice() { return voice_; }
    CwSetupWindow* cwSetupWindow() const;
    CwStringsWindow* cwStringsWindow() const;
    WinKeyKeyer& winKey() { return winKey_; }
    WinKeyWindow* winKeyWindow() const;

private:
    void addCwWindows(MainWindow& form);
    void addWinKeyWindow(MainWindow& form);

    ExportServices services_;
    // Which line holds each serial port: the CW keying line, the PTT line and the WinKey keyer
    // pass a shared port between them; the rig's is its own.
    SerialLineSharing lineSharing_;
    MonotonicKeyingTimer cwTimer_;
    PosixSerialLine cwSerial_;
    PpdevParallelPorts parallelPorts_;
    CwKeyer cw_;
    // The WinKey keyer on a line of its own, sharing a port with the CW and PTT lines.
    PosixSerialLine winKeySerial_;
    QtOneShotTimer winKeyTick_;
    WinKeyDriver winKeyDriver_;
    WinKeyDriverLink winKeyLink_{winKeyDriver_};
    WinKeyKeyer winKey_;
    ProgramVoice voice_;
    PosixSerialLine rigLine_;
    QtRigPollTimer rigTimer_;
    SystemEnvironment rigEnvironment_;
    QtTcpClient rigctldSocket_;
    QtOneShotTimer rigctldTimer_;
    RigctldConversation rigctld_;
    RigWiring rig_;
    // The TNC's line is its own: it claims its port and never takes or gives one up.
    PosixSerialLine tncLine_;
    QtTcpClient telnetSocket_;
    QtTcpClient engineSocket_;
    QtOneShotTimer engineTimer_;
    SpotWiring spots_;
    ExportCommands exports_;
    ProgramWindows windows_;
    RigCommandWindows rigCommands_;
    // Owned by the main window.
    QPointer<CwSetupWindow> cwSetup_;
    QPointer<CwStringsWindow> cwStrings_;
    QPointer<WinKeyWindow> winKeyWindow_;
};

}  // namespace cubwave
