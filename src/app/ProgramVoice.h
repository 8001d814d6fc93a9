#pragma once

#include "platform/PosixSerialLine.h"
#include "platform/PpdevParallelPorts.h"
#include "platform/QtWavePlayer.h"
#include "platform/SerialLineSharing.h"
#include "ui/voice/VoiceSetupWindow.h"
#include "voice/VoiceKeyer.h"
#include "voice/VoiceNavigation.h"
#include "voice/VoiceSubsystem.h"

#include <QPointer>

class QWidget;

namespace cubwave {

class Beeper;
class Clock;
class Dialogs;
class ProgramWindows;

// The voice keyer as the program runs it: GStreamer players for the messages and the cues, the
// PTT serial line and the parallel ports, and "Phone Wave Selections" once the main window
// exists to be its parent.
class ProgramVoice {
public:
    struct Services {
        Clock& clock;
        Dialogs& dialogs;
        Beeper& beeper;
        QString workDir;
        // The serial line the CW keying line and the WinKey keyer share with the PTT line.
        SerialLineSharing& sharing;
    };

    explicit ProgramVoice(Services services);
    ~ProgramVoice();

    VoiceKeyerPort& port() { return voice_; }
    VoiceKeyer& keyer() { return keyer_; }

    // Builds the setup window over the main window, adds it to the launcher and takes the
    // navigation level from the main window's preferences.
    void setMainWindow(QWidget* window, ProgramWindows& windows);
    VoiceSetupWindow* setupWindow() const { return setupWindow_; }

private:
    Services services_;
    QtWavePlayer messagePlayer_;
    QtWavePlayer cuePlayer_;
    PosixSerialLine pttLine_;
    PpdevParallelPorts parallelPorts_;
    VoiceKeyer keyer_;
    VoiceNavigation navigation_;
    VoiceSubsystem voice_;
    QPointer<VoiceSetupWindow> setupWindow_;
};

}  // namespace cubwave
