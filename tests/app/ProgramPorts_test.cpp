#include "app/ProgramPorts.h"
#include "core/SharedPrefsDocument.h"
#include "support/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/Fakes.h"
#include "ui/voice/VoiceSetupWindow.h"
#include "voice/VoiceKeyer.h"
#include "voice/VoiceMessageFile.h"
#include "voice/VoiceSubsystem.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace cubwave;
using namespace cubwave::test;

// A subsystem that has landed must be wired for real: an absent implementation standing in for
// it would leave its menu entries silently doing nothing.
TEST(ProgramPorts, SubsystemsThatHaveLandedAreWiredForReal)
{
    FakeClock clock;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    FakeSettingsStore settings;
    SharedPrefsDocument shared;
    ProgramPorts program({dialogs, beeper, settings, clock, shared, QStringLiteral("/w"), QStringLiteral("/d"),
                          QStringLiteral("/s")});
    const MainWindowPorts ports = program.ports();

    EXPECT_NE(dynamic_cast<ExportCommands*>(&ports.exports), nullptr);
    EXPECT_EQ(dynamic_cast<AbsentExports*>(&ports.exports), nullptr);
    EXPECT_NE(dynamic_cast<RigControl*>(&ports.rig), nullptr);
    EXPECT_EQ(dynamic_cast<AbsentRigControl*>(&ports.rig), nullptr);
    EXPECT_TRUE(program.windows().has(WindowLauncher::Window::RigInterface));

    EXPECT_NE(dynamic_cast<CwKeyer*>(&ports.cw), nullptr);
    EXPECT_EQ(dynamic_cast<AbsentCwKeyer*>(&ports.cw), nullptr);
    EXPECT_NE(dynamic_cast<VoiceSubsystem*>(&ports.voice), nullptr);
    EXPECT_EQ(dynamic_cast<AbsentVoiceKeyer*>(&ports.voice), nullptr);

    EXPECT_NE(dynamic_cast<SpotWiring*>(&ports.spots), nullptr);
    EXPECT_EQ(dynamic_cast<AbsentSpotFeed*>(&ports.spots), nullptr);
    EXPECT_EQ(&program.ports().spots, &program.spots());
    EXPECT_TRUE(program.windows().has(WindowLauncher::Window::DxSpotting));

    EXPECT_NE(dynamic_cast<ProgramWindows*>(&ports.windows), nullptr);
    // The tune (Ctrl+G) and privileges (Ctrl+F, "&Privileges") windows have landed.
    EXPECT_TRUE(program.windows().has(WindowLauncher::Window::RigTune));
    EXPECT_TRUE(program.windows().has(WindowLauncher::Window::BandPlan));

    // The same objects every time: the main window and the shutdown path talk to one keyer.
    EXPECT_EQ(&program.ports().cw, &ports.cw);
    EXPECT_EQ(&program.ports().rig, &ports.rig);
}

// A window no subsystem added does nothing; an added one opens with the modality asked for and
// closes through its own closer.
TEST(ProgramWindows, OpensAndClosesOnlyTheWindowsAdded)
{
    ProgramWindows windows;
    std::vector<std::pair<char, bool>> calls;
    windows.add(WindowLauncher::Window::CwSetup, [&](bool modal) { calls.push_back({'o', modal}); },
                [&] { calls.push_back({'c', false}); });
    windows.show(WindowLauncher::Window::RigInterface, false);
    windows.unload(WindowLauncher::Window::RigInterface);
    EXPECT_TRUE(calls.empty());
    windows.show(WindowLauncher::Window::CwSetup, true);
    windows.show(WindowLauncher::Window::CwSetup, false);
    windows.unload(WindowLauncher::Window::CwSetup);
    EXPECT_EQ(calls, (std::vector<std::pair<char, bool>>{{'o', true}, {'o', false}, {'c', false}}));
    EXPECT_TRUE(windows.has(WindowLauncher::Window::CwSetup));
    EXPECT_FALSE(windows.has(WindowLauncher::Window::Help));
}

// "Phone Wave Selections" is loaded once over the main window: Ctrl+P shows it modeless, the menu
// modal, and the start-up's reading of "wave2.txt" fills its fields and the keyer alike.
TEST(ProgramPorts, VoiceSetupOpensOverTheMainWindowWithTheMessageList)
{
    QTemporaryDir dir;
    FakeClock clock;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    FakeSettingsStore settings;
    SharedPrefsDocument shared;
    ProgramPorts program({dialogs, beeper, settings, clock, shared, dir.path(), dir.filePath("d"), dir.filePath("s")});
    using W = WindowLauncher::Window;

    QString why;
    EXPECT_FALSE(program.ports().voice.readMessageList(why));
    EXPECT_TRUE(why.contains("wave2.txt")) << why.toStdString();

    VoiceSettings saved;
    saved.paths[0] = QStringLiteral("/msgs/cq.wav");
    saved.port = QStringLiteral("2");
    ASSERT_TRUE(VoiceMessageFile::save(dir.path(), saved).ok);
    QWidget mainWindow;
    EXPECT_FALSE(program.windows().has(W::VoiceSetup));
    program.voice().setMainWindow(&mainWindow, program.windows());
    ASSERT_TRUE(program.windows().has(W::VoiceSetup));
    ASSERT_TRUE(program.ports().voice.readMessageList(why)) << why.toStdString();
    EXPECT_EQ(program.voice().keyer().settings(), saved);

    auto* setup = mainWindow.findChild<VoiceSetupWindow*>(QStringLiteral("PhoneFrm"));
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(setup->windowTitle(), "Phone Wave Selections");
    EXPECT_EQ(setup->findChild<QLineEdit*>(QStringLiteral("Text1"))->text(), "/msgs/cq.wav");
    EXPECT_EQ(setup->findChild<QLineEdit*>(QStringLiteral("Text10"))->text(), "2");

    program.windows().show(W::VoiceSetup, false);
    EXPECT_TRUE(setup->isVisible());
    EXPECT_FALSE(setup->isModal());
    setup->hide();

    bool shownModal = false;
    QTimer::singleShot(0, setup, [&] {
        shownModal = setup->isVisible() && QApplication::activeModalWidget() == setup;
        setup->reject();
    });
    program.windows().show(W::VoiceSetup, true);
    EXPECT_TRUE(shownModal);
}
