#include "ui/rig/RigControlWindow.h"

#include "platform/PosixSerialLine.h"
#include "platform/SerialLineSharing.h"
#include "rig/RigSettingsFile.h"
#include "ui/common/DesignLayout.h"

#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeDialogs.h"
#include "support/FakeRigPollTimer.h"
#include "support/Fakes.h"
#include "support/LayoutChecks.h"
#include "support/RigSimulator.h"
#include "support/TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace cubwave::test {
namespace {

constexpr int kPort = 3;

class RigControlWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        sim = std::make_unique<RigSimulator>(makeKenwoodRadio());
        ASSERT_TRUE(sim->isOpen());
        mapPortTo(sim->devicePath());
    }
    void mapPortTo(const QString& device)
    {
        writeFile(dir.filePath(QStringLiteral("serialports.txt")), QStringLiteral("%1=%2\n").arg(kPort).arg(device).toLocal8Bit());
    }
    void makeWindow()
    {
        window = std::make_unique<RigControlWindow>(
            RigControlWindow::Services{driver, dialogs, beeper, store, environment}, dir.path());
        window->show();
    }
    template <typename T> T* child(const char* name)
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void pickRig(const QString& name)
    {
        auto* list = child<QListWidget>("List1");
        const auto items = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        list->setCurrentItem(items.front());
    }
    QString label(const char* name) { return child<QLabel>(name)->text(); }
    void click(const char* name) { child<QAbstractButton>(name)->click(); }
    // A read tick after the radio has had time to answer, then the next send tick.
    void pollCycle()
    {
        QTest::qWait(30);
        clock.advanceMs(250);
        timer.fire();
        clock.advanceMs(250);
        timer.fire();
    }
    // Polls until the frequency label shows text, or gives up after two seconds.
    bool pollUntilFrequency(const QString& text)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < 2000) {
            pollCycle();
            if (label("lblFreq") == text)
                return true;
        }
        return false;
    }

    QTemporaryDir dir;
    std::unique_ptr<RigSimulator> sim;
    PosixSerialLine line;
    FakeRigPollTimer timer;
    FakeClock clock;
    RigPollDriver driver{line, timer, clock};
    FakeDialogs dialogs;
    FakeBeeper beeper;
    FakeSettingsStore store;
    FakeEnvironment environment;
    std::unique_ptr<RigControlWindow> window;
};

TEST_F(RigControlWindowTest, PollsAKenwoodOnAPtyAndFollowsTheRadio)
{
    makeWindow();
    pickRig(QStringLiteral("Kenwood"));
    click("optComm_2");
    QSignalSpy bands(window.get(), &RigControlWindow::bandFrequencyDecoded);
    QSignalSpy modes(window.get(), &RigControlWindow::modeDecoded);
    sim->setFrequencyHz(14025000);
    sim->setMode(RadioMode::Cw);
    click("Command1");
    EXPECT_TRUE(window->polling());
    EXPECT_EQ(timer.intervalMs(), 250);
    EXPECT_TRUE(child<QPushButton>("Command2")->isEnabled());
    EXPECT_TRUE(child<QLabel>("lblPolling")->isVisible());
    ASSERT_TRUE(pollUntilFrequency(QStringLiteral("14.02500"))) << label("lblFreq").toStdString();
    EXPECT_EQ(label("lblMode"), QStringLiteral("CW"));
    EXPECT_TRUE(label("lblUnProcess").contains(QStringLiteral("FA00014025000;")));
    ASSERT_FALSE(bands.isEmpty());
    EXPECT_FLOAT_EQ(bands.last().at(0).toFloat(), 14.025f);
    ASSERT_FALSE(modes.isEmpty());
    EXPECT_EQ(modes.last().at(0).toString(), QStringLiteral("CW"));

    sim->setFrequencyHz(7160000);
    sim->setMode(RadioMode::Lsb);
    ASSERT_TRUE(pollUntilFrequency(QStringLiteral("7.16000"))) << label("lblFreq").toStdString();
    EXPECT_EQ(label("lblMode"), QStringLiteral("PH"));
    EXPECT_FLOAT_EQ(bands.last().at(0).toFloat(), 7.16f);
    EXPECT_EQ(modes.last().at(0).toString(), QStringLiteral("PH"));
    window->grab().save(QStringLiteral("/tmp/rig_control_window_polling.png"));
}

// "Polling Rig" comes and goes with the poll; the buttons below it stay where they are, so a
// click meant for one never lands on another.
TEST_F(RigControlWindowTest, TheButtonsStayPutWhenPollingStartsAndEnds)
{
    makeWindow();
    pickRig(QStringLiteral("Kenwood"));
    click("optComm_2");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const auto positions = [this] {
        std::vector<QPoint> at;
        for (const char* name : {"Command1", "Command2", "Command3", "Command4", "cmdDone"})
            at.push_back(child<QPushButton>(name)->mapTo(window.get(), QPoint(0, 0)));
        return at;
    };
    const std::vector<QPoint> stopped = positions();
    click("Command1");
    ASSERT_TRUE(child<QLabel>("lblPolling")->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(positions(), stopped);
    click("Command2");
    ASSERT_FALSE(child<QLabel>("lblPolling")->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(positions(), stopped);
}

TEST_F(RigControlWindowTest, DoneWritesTheSettingsFileByteForByte)
{
    makeWindow();
    QSignalSpy saves(window.get(), &RigControlWindow::savePreferencesRequested);
    pickRig(QStringLiteral("Kenwood"));
    click("optComm_2");
    click("optPollFast");
    click("optPowerDTR");
    click("OptFreq");
    click("cmdDone");
    EXPECT_EQ(saves.size(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->polling());  // "&Done" tests the radio first
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("RigCntrl.txt"))),
              QByteArray("\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n\"MD;\"\r\n\"FA;\"\r\n\"4800,N,8,2\"\r\n3\r\n"
                         "\"D\"\r\n\"F\"\r\n\"Kenwood\"\r\n0\r\n1\r\n2\r\n"));

    // A new window reads it back without resetting the rig's options.
    window.reset();
    makeWindow();
    EXPECT_EQ(window->rigName(), QStringLiteral("Kenwood"));
    EXPECT_TRUE(child<QRadioButton>("optComm_2")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optPollFast")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optPowerDTR")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("OptFreq")->isChecked());
    EXPECT_EQ(child<QLineEdit>("txtFreq")->text(), QStringLiteral("FA;"));
    EXPECT_FALSE(window->polling());
}

TEST_F(RigControlWindowTest, EscIsDoneAndAnAltChordTypesNothing)
{
    makeWindow();
    EXPECT_EQ(child<QPushButton>("cmdDone")->text(), "&Done");
    QSignalSpy saves(window.get(), &RigControlWindow::savePreferencesRequested);
    pickRig(QStringLiteral("Kenwood"));
    auto* query = child<QLineEdit>("txtFreq");
    ASSERT_TRUE(query->isEnabled());
    const QString before = query->text();
    QTest::keyClick(query, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(query->text(), before);
    QTest::keyClick(query, Qt::Key_Escape);
    EXPECT_EQ(saves.size(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("RigCntrl.txt"))));
}

// The operator's files are there but cannot be read: the window says once which and why, and
// "&Done" asks before putting the defaults it shows in place of the operator's settings.
TEST_F(RigControlWindowTest, UnreadableSettingsFilesAreNamedAndNotOverwrittenUnasked)
{
    const QString settingsPath = dir.filePath(QStringLiteral("RigCntrl.txt"));
    const QByteArray damaged = QByteArray("\"4800 \"\r\n\"N") + '\0' + "\"\r\n\"8\"\r\n";
    writeFile(settingsPath, damaged);
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("serialports.txt"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("serialports.txt")));
    makeWindow();
    QSignalSpy status(window.get(), &RigControlWindow::statusMessage);
    window->reportFileProblems();
    window->reportFileProblems();
    ASSERT_EQ(status.size(), 1);
    EXPECT_EQ(status[0][0].toString(),
              "serialports.txt could not be read (it is a folder): port N is /dev/ttyS(N-1). "
              "RigCntrl.txt could not be read (it holds NUL bytes, so it is no text file): the rig settings "
              "shown are the defaults.");

    const QString question = QStringLiteral(
        "RigCntrl.txt could not be read (it holds NUL bytes, so it is no text file). Replace it with the settings "
        "shown?");
    dialogs.messageAnswers.push_back(MsgAnswer::No);
    click("cmdDone");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, question);
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(readAll(settingsPath), damaged);

    window->show();
    dialogs.messageAnswers.push_back(MsgAnswer::Yes);
    click("cmdDone");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, question);
    EXPECT_EQ(readAll(settingsPath), RigSettingsFile::serialize(window->settings()));
    // Replaced: the next "&Done" writes without asking.
    window->show();
    click("cmdDone");
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(RigControlWindowTest, AFailedSettingsWriteIsReported)
{
    makeWindow();
    pickRig(QStringLiteral("None"));
    // A folder where the file should be cannot be replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("RigCntrl.txt")));
    click("cmdDone");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("could not be saved")));
}

TEST_F(RigControlWindowTest, EveryLineOptionEndsTheTest)
{
    makeWindow();
    pickRig(QStringLiteral("Kenwood"));
    click("optComm_2");
    // A pty refuses parity, so the framing options clicked are those already chosen: a click ends
    // the test whether or not it changes the option.
    for (const char* option : {"optComm_2", "optBaud96", "optParityNone", "optData8", "optStop1", "optPowerNone",
                               "optPollSlow", "optReallySlow"}) {
        click("Command1");
        ASSERT_TRUE(window->polling()) << option << (dialogs.messages.empty() ? "" : dialogs.messages.back().text.toStdString());
        click(option);
        EXPECT_FALSE(window->polling()) << option;
        EXPECT_FALSE(line.isOpen()) << option;
        EXPECT_FALSE(child<QPushButton>("Command2")->isEnabled()) << option;
        EXPECT_FALSE(child<QLabel>("lblPolling")->isVisible()) << option;
        EXPECT_TRUE(label("lblFreq").isEmpty()) << option;
    }
    // Entering a query box ends it too.
    click("Command1");
    ASSERT_TRUE(window->polling());
    child<QLineEdit>("txtFreq")->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(window->polling());
}

TEST_F(RigControlWindowTest, SilenceSaysNoResponseOnceAndTestResumes)
{
    makeWindow();
    pickRig(QStringLiteral("Kenwood"));
    click("optComm_2");
    QSignalSpy status(window.get(), &RigControlWindow::statusMessage);
    QSignalSpy bands(window.get(), &RigControlWindow::bandFrequencyDecoded);
    sim->setSilent(true);
    click("Command1");
    for (int i = 0; i < 12; ++i)
        pollCycle();
    EXPECT_EQ(status.size(), 1);
    EXPECT_EQ(beeper.beeps, 1);
    EXPECT_EQ(label("lblFreq"), QStringLiteral("No Response"));
    EXPECT_EQ(label("lblMode"), QStringLiteral("No Response"));
    EXPECT_TRUE(bands.isEmpty());
    EXPECT_TRUE(window->polling());
    sim->setSilent(false);
    EXPECT_TRUE(pollUntilFrequency(QStringLiteral("14.02500")));
}

TEST_F(RigControlWindowTest, AnOpenFailureBeepsAndShowsTheCommMessage)
{
    mapPortTo(dir.filePath(QStringLiteral("no-such-device")));
    makeWindow();
    pickRig(QStringLiteral("Kenwood"));
    click("optComm_2");
    click("Command1");
    EXPECT_FALSE(window->polling());
    EXPECT_EQ(beeper.beeps, 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Invalid Comm Settings."));
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QString::fromLatin1(RigControlWindow::kOpenFailureText)));
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("No such file or directory")));
    EXPECT_FALSE(child<QPushButton>("Command2")->isEnabled());
    EXPECT_FALSE(child<QLabel>("lblPolling")->isVisible());
}

// A keying line holds the rig's port (root would pass the kernel's exclusive open): the rig's
// open fails with its message, the status line says who holds the port, and no poll follows to
// say "No Response" over it.
TEST_F(RigControlWindowTest, APortAKeyingLineHoldsIsRefusedAndTheStatusLineSaysWho)
{
    SerialLineSharing sharing;
    line.share(sharing, SerialLineSharing::User::Rig);
    ASSERT_TRUE(sharing.claim(*SerialLineSharing::deviceIdOf(sim->devicePath()), SerialLineSharing::User::CwKeying));
    makeWindow();
    pickRig(QStringLiteral("Kenwood"));
    click("optComm_2");
    QSignalSpy status(window.get(), &RigControlWindow::statusMessage);
    click("Command1");
    EXPECT_FALSE(window->polling());
    EXPECT_FALSE(line.isOpen());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Invalid Comm Settings."));
    for (int i = 0; i < 12; ++i)
        pollCycle();
    ASSERT_EQ(status.size(), 1);
    EXPECT_EQ(status[0].at(0).toString(), sim->devicePath() + " is used by the CW keying line");
}

TEST_F(RigControlWindowTest, ALostPortStopsPollingAndSaysWhyOnce)
{
    makeWindow();
    pickRig(QStringLiteral("Kenwood"));
    click("optComm_2");
    QSignalSpy status(window.get(), &RigControlWindow::statusMessage);
    click("Command1");
    ASSERT_TRUE(pollUntilFrequency(QStringLiteral("14.02500")));
    sim.reset();  // the far end goes away, as an unplugged adapter
    for (int i = 0; i < 4; ++i)
        pollCycle();
    EXPECT_FALSE(window->polling());
    EXPECT_FALSE(line.isOpen());
    ASSERT_EQ(status.size(), 1);
    EXPECT_TRUE(status[0].at(0).toString().startsWith(QStringLiteral("Rig port lost: ")));
    EXPECT_EQ(beeper.beeps, 1);
}

TEST_F(RigControlWindowTest, SelectionRulesAndPerRigDefaults)
{
    makeWindow();
    pickRig(QStringLiteral("Icom"));
    EXPECT_TRUE(child<QLabel>("Label10")->isVisible());
    EXPECT_EQ(child<QLineEdit>("txtFreq")->text(), QStringLiteral("FE FE 64 E0 03 FD"));
    EXPECT_TRUE(child<QCheckBox>("chkConvToHex")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("ChkConvHex")->isChecked());  // copied
    EXPECT_FALSE(child<QCheckBox>("chkConvToHex")->isEnabled());
    EXPECT_TRUE(child<QRadioButton>("optBaud12")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optStop1")->isChecked());

    // The FTdx9000's row sets the baud only among the line options.
    click("optParityEven");
    click("optData7");
    pickRig(QStringLiteral("Yaesu FTdx9000"));
    EXPECT_FALSE(child<QLabel>("Label10")->isVisible());
    EXPECT_TRUE(child<QRadioButton>("optBaud48")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optParityEven")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optData7")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optStop1")->isChecked());
    EXPECT_EQ(child<QLineEdit>("txtMode")->text(), QStringLiteral("MD0;"));
    EXPECT_FALSE(child<QCheckBox>("chkConvToHex")->isChecked());

    pickRig(QStringLiteral("Other"));
    EXPECT_TRUE(child<QCheckBox>("chkConvToHex")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>("txtFreq")->text().isEmpty());
    EXPECT_EQ(child<QListWidget>("List1")->count(), 20);  // the nineteen, then "Hamlib rigctld"
}

TEST_F(RigControlWindowTest, ChangeFrequencyNeedsPolling)
{
    makeWindow();
    click("Command3");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("You must be polling your rig to test this function."));
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Information);
}

TEST_F(RigControlWindowTest, PegasusFolderDefaultsToTheWinePrefixWhenItExists)
{
    QTemporaryDir wine;
    ASSERT_TRUE(QDir(wine.path()).mkpath(QStringLiteral("drive_c/Pegasus")));
    environment.variables[QStringLiteral("WINEPREFIX")] = wine.path();
    makeWindow();
    pickRig(QStringLiteral("Ten Tec Pegasus"));
    EXPECT_TRUE(child<QLineEdit>("txtPegasusFolder")->isVisible());
    EXPECT_EQ(window->pegasusFolder(), QDir(wine.path()).filePath(QStringLiteral("drive_c/Pegasus")));
    environment.variables.clear();
    environment.variables[QStringLiteral("HOME")] = dir.filePath(QStringLiteral("nohome"));
    EXPECT_EQ(window->pegasusFolder(), QDir(dir.path()).filePath(QStringLiteral("Pegasus")));
    store.values[QStringLiteral("Rig/PegasusFolder")] = QStringLiteral("/srv/pegasus");
    EXPECT_EQ(window->pegasusFolder(), QStringLiteral("/srv/pegasus"));
}


// The window scales with the screen as every other window: its font by the smaller of the
// screen's ratios to the 640 x 480 design, inside the work area, with every control given room
// for its text, whichever controls the chosen rig shows.
TEST_F(RigControlWindowTest, ScalesWithTheScreenAndFitsEveryRigsControls)
{
    for (const QSize screen : kScreenSizes) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()).toStdString());
        FakeDesktop desktop(screen);
        DesignLayout::useDesktop(&desktop);
        makeWindow();
        DesignLayout::useDesktop(nullptr);
        QCoreApplication::processEvents();
        const double rule = 8 * std::min(screen.width() / 640.0, screen.height() / 480.0);
        EXPECT_NEAR(window->font().pointSizeF() * window->logicalDpiY() / 72.0, rule * 96 / 72, 1e-9);
        EXPECT_EQ(child<QPushButton>("cmdDone")->font().pointSizeF(), window->font().pointSizeF());
        for (const char* rig : {"Kenwood", "Icom", "Hamlib rigctld"}) {
            SCOPED_TRACE(rig);
            pickRig(QString::fromLatin1(rig));
            QCoreApplication::processEvents();
            EXPECT_TRUE(desktop.area.workArea.contains(window->frameGeometry()));
            EXPECT_THAT(layoutFaults(window.get()), ::testing::IsEmpty());
        }
        window.reset();
    }
}

}  // namespace
}  // namespace cubwave::test
