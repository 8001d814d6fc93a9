#include "app/ProgramWindows.h"
#include "app/RigWiring.h"
#include "platform/PosixSerialLine.h"
#include "rig/RigModel.h"
#include "rig/RigSettings.h"
#include "rig/RigSettingsFile.h"
#include "rig/RigctldAddress.h"
#include "rig/RigctldConversation.h"
#include "support/FakeOneShotTimer.h"
#include "support/FakeRigPollTimer.h"
#include "support/FakeTcpClient.h"
#include "support/MainWindowFixture.h"
#include "support/RigSimulator.h"
#include "support/TestFiles.h"
#include "ui/rig/RigControlWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <functional>
#include <memory>

namespace cubwave::test {
namespace {

constexpr int kPort = 3;

// The main window with the program's own rig wiring: the rig window, its poll driver and the
// rig port, on a simulated radio behind a pseudo-terminal. The poll timer is fired by hand.
class RigWiringTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        customPorts = [this] {
            return MainWindowPorts{ports.cw, ports.voice, wiring.control(), ports.spots, ports.exports, windows};
        };
        windows.add(WindowLauncher::Window::RigInterface, [this](bool modal) { wiring.show(modal); });
        // The band and mode the radio is not on, so following it shows.
        Preferences prefs = savedPrefs();
        prefs.band = QStringLiteral("160");
        prefs.mode = QStringLiteral("PH");
        writePrefs(prefs);
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        sim.reset();
    }

    void runSimulator(std::unique_ptr<SimulatedRadio> radio)
    {
        sim = std::make_unique<RigSimulator>(std::move(radio));
        ASSERT_TRUE(sim->isOpen());
        writeFile(dir.filePath(QStringLiteral("serialports.txt")),
                  QStringLiteral("%1=%2\n").arg(kPort).arg(sim->devicePath()).toLocal8Bit());
    }
    // The rig window's settings as "&Done" would have left them, and the rig name kept in the
    // main window's preferences.
    void storeRig(const QString& rigName)
    {
        RigSettings settings;
        settings.selectRig(*RigModels::find(rigName));
        settings.port = kPort;
        ASSERT_TRUE(RigSettingsFile::write(dir.filePath(QString::fromLatin1(RigSettingsFile::kFileName)), settings).ok);
        Preferences prefs = savedPrefs();
        prefs.rigModel = rigName;
        writePrefs(prefs);
    }

    // A send tick, time for the radio to answer, then the read tick.
    void pollCycle()
    {
        clock.advanceMs(timer.intervalMs());
        timer.fire();
        QTest::qWait(25);
        clock.advanceMs(timer.intervalMs());
        timer.fire();
    }
    // Polls until the condition holds, or gives up after two seconds.
    bool pollUntil(const std::function<bool()>& done)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < 2000) {
            pollCycle();
            if (done())
                return true;
        }
        return false;
    }
    QString band() const { return label(QStringLiteral("Label24"))->text(); }
    QString mode() const
    {
        return action("mnu160")->isChecked() ? QStringLiteral("CW")
               : action("mnuSSB")->isChecked() ? QStringLiteral("PH")
                                                : QString();
    }
    RigControlWindow* rigWindow() { return wiring.windowLoaded() ? &wiring.window() : nullptr; }

    std::unique_ptr<RigSimulator> sim;
    PosixSerialLine line;
    FakeRigPollTimer timer;
    FakeEnvironment environment;
    FakeSettingsStore store;
    ProgramWindows windows;
    FakeTcpClient rigctldSocket;
    FakeOneShotTimer rigctldTimer;
    RigctldConversation rigctld{rigctldSocket, rigctldTimer};
    RigWiring wiring{line, timer, {clock, dialogs, beeper, store, environment, dir.path(), &rigctld}};
};

struct Radio {
    const char* label;
    const char16_t* rigName;
    std::function<std::unique_ptr<SimulatedRadio>()> make;
};

const Radio kRadios[] = {
    {"Kenwood", u"Kenwood", makeKenwoodRadio},
    {"Kenwood2", u"Kenwood 2", makeKenwoodRadio},
    {"Elecraft", u"Elecraft", makeKenwoodRadio},
    {"Icom", u"Icom", [] { return makeIcomRadio(0x64, 5); }},
    {"Icom735", u"Icom 735", [] { return makeIcomRadio(0x64, 4); }},
    {"OmniVi", u"Ten Tec Omni VI", [] { return makeIcomRadio(0x04, 5); }},
    {"YaesuFiveByte", u"Yaesu", makeYaesuFiveByteRadio},
    {"Yaesu757GxII", u"Yaesu 757 GX II", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft757GxII); }},
    {"Yaesu890", u"Yaesu 890", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft890); }},
    {"Yaesu920", u"Yaesu 920", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft920); }},
    {"Yaesu990", u"Yaesu 990", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft990); }},
    {"Yaesu1000D", u"Yaesu 1000 D", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft1000D); }},
    {"Yaesu1000", u"Yaesu 1000", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft1000MP); }},
    {"FTdx9000", u"Yaesu FTdx9000", [] { return makeYaesuTextRadio(8); }},
    {"YaesuTextNineDigits", u"Yaesu FTdx9000", [] { return makeYaesuTextRadio(9); }},
    {"FrontPanel", u"Ten Tec Fnt Pnl", makeTenTecPanelRadio},
    {"Orion", u"Ten Tec Orion", makeOrionRadio},
};

void PrintTo(const Radio& radio, std::ostream* out) { *out << radio.label; }

class RigWiringRadios : public RigWiringTest, public ::testing::WithParamInterface<Radio> {};

// A stored rig is polled from the start-up on; the main window's band, mode and next contact's
// frequency follow the radio, also when it moves to another band and mode.
TEST_P(RigWiringRadios, TheMainWindowFollowsThePolledRadio)
{
    const Radio& radio = GetParam();
    runSimulator(radio.make());
    sim->setFrequencyHz(14025000);
    sim->setMode(RadioMode::Cw);
    storeRig(QString::fromStdU16String(radio.rigName));
    start();

    ASSERT_NE(rigWindow(), nullptr) << "the start-up did not load the rig window";
    EXPECT_FALSE(rigWindow()->isVisible());
    ASSERT_TRUE(wiring.control().driver().polling()) << (dialogs.messages.empty() ? "" : dialogs.messages.back().text.toStdString());
    ASSERT_TRUE(pollUntil([&] { return band() == QLatin1String("20") && mode() == QLatin1String("CW"); }))
        << "band " << band().toStdString() << ", mode " << mode().toStdString();
    EXPECT_EQ(form->frequencyText(), QStringLiteral("14.025"));

    sim->setFrequencyHz(7160000);
    sim->setMode(RadioMode::Lsb);
    ASSERT_TRUE(pollUntil([&] { return band() == QLatin1String("40") && mode() == QLatin1String("PH"); }))
        << "band " << band().toStdString() << ", mode " << mode().toStdString();
    EXPECT_EQ(form->frequencyText(), QStringLiteral("7.160"));
    EXPECT_TRUE(sim->unknownCommands().isEmpty()) << sim->unknownCommands().join(u'|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Families, RigWiringRadios, ::testing::ValuesIn(kRadios),
                         [](const auto& info) { return std::string(info.param.label); });

// Ctrl+R shows the rig window modeless over the main window; "&Done" keeps the rig name in the
// main window's preferences and polls, and the status line hears when the radio falls silent.
TEST_F(RigWiringTest, CtrlRChoosesARigThatThePreferencesKeep)
{
    runSimulator(makeKenwoodRadio());
    start();
    EXPECT_EQ(rigWindow(), nullptr) << "no stored rig, so the start-up loads no rig window";
    EXPECT_FALSE(wiring.control().driver().polling());

    key(Qt::Key_R, Qt::ControlModifier);
    RigControlWindow* window = rigWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" Rig Interface Setup"));

    auto* list = window->findChild<QListWidget*>(QStringLiteral("List1"));
    list->setCurrentItem(list->findItems(QStringLiteral("Kenwood"), Qt::MatchExactly).front());
    window->findChild<QAbstractButton*>(QStringLiteral("optComm_%1").arg(kPort - 1))->click();
    window->findChild<QAbstractButton*>(QStringLiteral("cmdDone"))->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(savedPrefs().rigModel, QStringLiteral("Kenwood"));
    ASSERT_TRUE(wiring.control().driver().polling());
    EXPECT_TRUE(pollUntil([&] { return band() == QLatin1String("20"); }));

    // Reopened from the main window, it is the same window, with the poll still running.
    QApplication::setActiveWindow(form.get());
    field("txtCall")->setFocus();
    key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(rigWindow(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(wiring.control().driver().polling());

    sim->setSilent(true);
    for (int i = 0; i < 8; ++i)
        pollCycle();
    EXPECT_EQ(status(), QString::fromLatin1(RigControlWindow::kNoResponseStatus));
}

// A stored "none" in any case loads nothing at start-up; any other name runs "Test" on the rig
// window's own settings.
TEST_F(RigWiringTest, NoneInAnyCaseStartsNoPoll)
{
    runSimulator(makeKenwoodRadio());
    storeRig(QStringLiteral("Kenwood"));
    Preferences prefs = savedPrefs();
    prefs.rigModel = QStringLiteral("nOnE");
    writePrefs(prefs);
    start();
    EXPECT_EQ(rigWindow(), nullptr);
    EXPECT_FALSE(wiring.control().driver().polling());
    EXPECT_FALSE(line.isOpen());
}

// Closing the main window unloads the rig: the poll stops and the line closes.
TEST_F(RigWiringTest, ClosingTheMainWindowStopsThePollAndClosesTheLine)
{
    runSimulator(makeKenwoodRadio());
    storeRig(QStringLiteral("Kenwood"));
    start();
    ASSERT_TRUE(wiring.control().driver().polling());
    ASSERT_TRUE(line.isOpen());
    form->close();
    EXPECT_FALSE(wiring.control().driver().polling());
    EXPECT_FALSE(line.isOpen());
}

// "Hamlib rigctld" stored: polled from the start-up on at the stored address, the main window
// follows the radio, a lost daemon is told on the status line with no box and no beep, and it
// is found again when it answers.
TEST_F(RigWiringTest, ARigctldRadioIsFollowedLostAndFoundAgain)
{
    storeRig(QStringLiteral("Hamlib rigctld"));
    store.setValue(RigctldAddress::kHostKey, QStringLiteral("127.0.0.1"));
    store.setValue(RigctldAddress::kPortKey, QStringLiteral("4533"));
    start();
    ASSERT_NE(rigWindow(), nullptr);
    EXPECT_TRUE(wiring.control().driver().polling());
    EXPECT_EQ(rigctldSocket.host, "127.0.0.1");
    EXPECT_EQ(rigctldSocket.port, 4533);
    EXPECT_FALSE(line.isOpen());

    const auto round = [this](const QByteArray& frequency, const QByteArray& mode) {
        rigctldSocket.takeSent();
        for (int i = 0; i < 2 && rigctldSocket.sent.isEmpty(); ++i)
            timer.fire();
        EXPECT_EQ(rigctldSocket.takeSent(), "f\n");
        rigctldSocket.answer(frequency);
        EXPECT_EQ(rigctldSocket.takeSent(), "m\n");
        rigctldSocket.answer(mode);
    };
    rigctldSocket.accept();
    round("7025000\n", "CW\n500\n");
    EXPECT_EQ(band(), "40");
    EXPECT_EQ(mode(), "CW");
    round("14250000\n", "USB\n2400\n");
    EXPECT_EQ(band(), "20");
    EXPECT_EQ(mode(), "PH");

    const int beeps = beeper.beeps;
    const size_t boxes = dialogs.messages.size();  // the start-up's own questions
    rigctldSocket.fail(TcpClient::kConnectionReset, QStringLiteral("The remote host closed the connection"));
    EXPECT_TRUE(status().contains(u"rigctld at 127.0.0.1:4533: The remote host closed the connection"))
        << status().toStdString();
    EXPECT_TRUE(status().contains(u"rigctld -m MODEL -r DEVICE -s BAUD -T 127.0.0.1")) << status().toStdString();
    EXPECT_EQ(dialogs.messages.size(), boxes);
    EXPECT_EQ(beeper.beeps, beeps);
    EXPECT_TRUE(wiring.control().driver().polling());

    rigctldTimer.fire(clock);  // five seconds on: connected again
    rigctldSocket.accept();
    round("21025000\n", "USB\n2400\n");
    EXPECT_EQ(band(), "15");
    EXPECT_TRUE(status().contains(u"answers again")) << status().toStdString();
}

// The rig window for "Hamlib rigctld": "Host:" and "Port:" in place of the serial controls,
// kept in the settings store, and "RigCntrl.txt" still fourteen lines.
TEST_F(RigWiringTest, TheRigWindowSwapsTheSerialControlsForHostAndPort)
{
    start();
    RigControlWindow& window = wiring.window();
    auto* list = window.findChild<QListWidget*>(QStringLiteral("List1"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->item(list->count() - 1)->text(), "Hamlib rigctld");
    auto* host = window.findChild<QLineEdit*>(QStringLiteral("txtRigctldHost"));
    auto* port = window.findChild<QLineEdit*>(QStringLiteral("txtRigctldPort"));
    auto* comm = window.findChild<QWidget*>(QStringLiteral("optComm_0"));
    ASSERT_TRUE(host && port && comm);
    EXPECT_FALSE(host->isVisibleTo(&window));
    EXPECT_TRUE(comm->isVisibleTo(&window));

    list->setCurrentRow(list->count() - 1);
    EXPECT_TRUE(host->isVisibleTo(&window));
    EXPECT_FALSE(comm->isVisibleTo(&window));
    EXPECT_EQ(host->text(), "localhost");
    EXPECT_EQ(port->text(), "4532");
    port->setText(QStringLiteral("4600"));
    window.cmdDone_Click();
    EXPECT_EQ(store.value(RigctldAddress::kPortKey, {}), "4600");
    EXPECT_EQ(rigctldSocket.port, 4600);
    const QByteArray file = readAll(dir.filePath(QString::fromLatin1(RigSettingsFile::kFileName)));
    EXPECT_EQ(file.count("\r\n"), RigSettingsFile::kLineCount);
    EXPECT_TRUE(file.contains("\"Hamlib rigctld\"\r\n"));

    list->setCurrentRow(1);  // Elecraft: the serial controls are back, and the connection goes
    EXPECT_FALSE(host->isVisibleTo(&window));
    EXPECT_TRUE(comm->isVisibleTo(&window));
    EXPECT_EQ(rigctldSocket.state(), TcpClient::kClosed);
}

}  // namespace
}  // namespace cubwave::test
