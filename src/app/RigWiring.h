#pragma once

#include "rig/RigControl.h"

#include <QPointer>
#include <QWidget>
#include <QString>

#include <functional>

namespace cubwave {

class Beeper;
class Clock;
class Dialogs;
class Environment;
class RigControlWindow;
class RigPollTimer;
class RigctldConversation;
class SerialLine;
class SettingsStore;

// The rig in the program: its control (the main window's rig port) and the rig window, which is
// loaded the first time it is needed (Ctrl+R, or a stored rig at start-up) and kept. What the
// window decodes goes through the control to the main window.
class RigWiring {
public:
    struct Services {
        Clock& clock;
        Dialogs& dialogs;
        Beeper& beeper;
        SettingsStore& store;
        const Environment& environment;
        QString workDir;  // holds "RigCntrl.txt" and "serialports.txt"
        // The way to "Hamlib rigctld"; none leaves that rig unable to start.
        RigctldConversation* rigctld = nullptr;
    };

    // The line and timer must outlive this.
    RigWiring(SerialLine& line, RigPollTimer& timer, Services services);
    ~RigWiring();
    RigWiring(const RigWiring&) = delete;
    RigWiring& operator=(const RigWiring&) = delete;

    RigControl& control() { return control_; }
    // The rig window's owner; until it is set the window has none.
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    // The rig window, loaded on the first call.
    RigControlWindow& window();
    bool windowLoaded() const { return !window_.isNull(); }
    // Ctrl+R and "&Rig Interface": shows the window, modeless unless asked otherwise.
    void show(bool modal);
    // What the rig window's frequency test request opens.
    void setFrequencyTest(std::function<void()> open) { openFrequencyTest_ = std::move(open); }

private:
    Services services_;
    RigControl control_;
    QPointer<QWidget> parent_;
    // Deleted with its parent when it has one; otherwise here.
    QPointer<RigControlWindow> window_;
    std::function<void()> openFrequencyTest_;
};

}  // namespace cubwave
