#include "app/ProgramVoice.h"

#include "app/ProgramWindows.h"
#include "platform/SerialPortMap.h"
#include "ui/main/MainWindow.h"
#include "ui/voice/VoiceSetupWindow.h"

namespace cubwave {

ProgramVoice::ProgramVoice(Services services)
    : services_(std::move(services)),
      keyer_({messagePlayer_, pttLine_, parallelPorts_,
              [dir = services_.workDir] { return SerialPortMap::load(dir); }, services_.clock, &services_.sharing}),
      navigation_(cuePlayer_, services_.clock, services_.workDir),
      voice_(keyer_, navigation_, services_.workDir)
{
    pttLine_.share(services_.sharing, SerialLineSharing::User::VoicePtt);
}

ProgramVoice::~ProgramVoice()
{
    // The window normally goes with its parent first; one left over must not outlive the keyer.
    delete setupWindow_.data();
    keyer_.releaseAll();
}

void ProgramVoice::setMainWindow(QWidget* window, ProgramWindows& windows)
{
    if (setupWindow_)
        return;
    // Loaded once and kept: its fields are the keyer's live settings.
    setupWindow_ = new VoiceSetupWindow(keyer_, services_.dialogs, services_.beeper, services_.workDir, window);
    const QPointer<VoiceSetupWindow> setup = setupWindow_;
    voice_.setMessageListReader([setup] {
        return setup ? setup->readMessageFile() : VoiceMessageFile::Loaded{false, QStringLiteral("no voice setup window"), {}};
    });
    windows.add(
        WindowLauncher::Window::VoiceSetup,
        [setup](bool modal) {
            if (!setup)
                return;
            if (modal) {
                setup->exec();
                return;
            }
            setup->show();
            setup->raise();
            setup->activateWindow();
        },
        [setup] {
            if (setup)
                setup->hide();
        });
    if (auto* main = qobject_cast<MainWindow*>(window))
        voice_.setLevelSource([main] { return static_cast<int>(main->prefs().voiceNavLevel); });
}

}  // namespace cubwave
