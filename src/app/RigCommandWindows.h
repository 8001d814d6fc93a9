#pragma once

#include "rig/RigCommandRunner.h"
#include "rig/RigPoller.h"
#include "platform/QtOneShotTimer.h"

#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace cubwave {

class Clock;
class Dialogs;
class RigLink;
class RigctldConversation;

// The tune (Ctrl+G), raw-command test and privileges (Ctrl+F) windows, with the frequency and mode
// commands behind the first two. The commands run over the poller and line given to connectRig();
// until the program's rig control gives its own, they run over an idle poller of this class's,
// so the windows open and behave but nothing reaches a radio ("None" is the rig).
class RigCommandWindows {
public:
    struct Services {
        Dialogs& dialogs;
        Clock& clock;
        QString workDir;  // where "BandPlan.txt" is
        // Runs a modal window; tests drive the window instead. Empty: QDialog::exec.
        std::function<int(QDialog&)> runModal = {};
        // A line for the main window's status line. Empty: nowhere.
        std::function<void(const QString&)> status = {};
    };

    explicit RigCommandWindows(Services services);
    ~RigCommandWindows();
    RigCommandWindows(const RigCommandWindows&) = delete;
    RigCommandWindows& operator=(const RigCommandWindows&) = delete;

    void setParentWindow(QWidget* window) { parent_ = window; }

    // The rig control's poller and its line (null while the port is closed): later commands go
    // to that radio. Any command under way is dropped first.
    void connectRig(RigPoller& poller, RigLink* link, RigctldConversation* rigctld = nullptr);
    // "End Test", a new rig, unloading: the command under way stops and nothing waiting runs.
    void cancelCommands();
    RigCommandRunner& commands() { return *runner_; }

    // Each window is modal and unloaded when it closes.
    void showTune();
    void showPrivileges();
    // The rig window's "Change Frequency" while polling.
    void showFrequencyTest();

private:
    void makeRunner(RigPoller& poller, RigLink* link, RigctldConversation* rigctld);
    int run(QDialog& dialog);

    Services services_;
    QWidget* parent_ = nullptr;  // the main window, which outlives every window it opens
    RigPoller idlePoller_;
    QtOneShotTimer timer_;
    std::unique_ptr<RigCommandRunner> runner_;
};

}  // namespace cubwave
