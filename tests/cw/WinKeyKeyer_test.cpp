#include "cw/CwKeyer.h"
#include "cw/CwMessages.h"
#include "cw/CwSenderFixture.h"
#include "cw/WinKeyKeyer.h"
#include "platform/SerialLineSharing.h"
#include "support/FakeKeying.h"
#include "support/FakeWinKeyLink.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace cubwave::test {
namespace {

using User = SerialLineSharing::User;
using Opened = WinKeyLink::Opened;

// The CW keyer with the WinKey interface chosen, on a scripted keyer door. Port 1 is /dev/null,
// which the CW keying line can hold too.
class WinKeyKeyerTest : public ::testing::Test {
protected:
    WinKeyKeyerTest()
    {
        serial.sharing = &sharing;
        serial.user = User::CwKeying;
        CwSettings s;
        s.cwInterface = kCwWinKey;
        s.port = "1";
        s.speedWpm = "20";
        s.messages[0] = "CQ $";
        s.messages[1] = "TU $ !";
        keyer.sender().setSettings(s);
        keyer.setWinKey(&winKey);
        keyer.onWindowRequests([this] { commits << link.sent; }, [this](const QString& text) { status << text; });
        QObject::connect(&winKey, &WinKeyKeyer::problem, [this](const QString& text) { problems << text; });
        QObject::connect(&winKey, &WinKeyKeyer::connectionFailed, [this](int port) { failedPorts.push_back(port); });
        WinKeySettings ws;
        ws.port = 1;
        ws.speed = "25";
        ws.weight = "45";
        ws.leadIn = "3";
        ws.tail = "4";
        ws.ratio = "60";
        ws.pins = 5;
        ws.mode = 16;
        winKey.setSettings(ws);
    }

    void openKeyer(int version = 23)
    {
        link.immediateOpen = Opened{WinKeyLink::kSuccess, version, {}};
        winKey.open();
        ASSERT_TRUE(winKey.isOpen());
        link.takeCalls();
    }

    SerialLineSharing sharing;
    VirtualKeyingTimer timer;
    FakeSerialLine serial{[this] { return timer.nowNs(); }};
    FakeParallelPorts parallel;
    std::function<SerialPortMap()> portMap = [] { return SerialPortMap::parse("1=/dev/null\n2=/dev/zero\n"); };
    CwKeyer keyer{timer, serial, parallel, portMap, &sharing};
    FakeWinKeyLink link;
    WinKeyKeyer winKey{keyer.sender(), link, portMap, &sharing};
    QStringList status;
    QStringList problems;
    QStringList commits;  // what the keyer had been handed when each commit came
    std::vector<int> failedPorts;
};

// F1 on a closed keyer opens it, sends the settings in their order, and only then hands over
// the expanded message.
TEST_F(WinKeyKeyerTest, AFunctionKeyOpensTheKeyerSendsTheSettingsAndThenTheMessage)
{
    keyer.setCallField("K1ABC");
    keyer.functionKey(CwMessages::kF1);
    EXPECT_EQ(link.calls, QStringList{"open /dev/null"});
    EXPECT_TRUE(keyer.busy());
    EXPECT_TRUE(link.sent.isEmpty());

    link.finishOpen({WinKeyLink::kSuccess, 23, {}});
    EXPECT_EQ(winKey.version(), 23);
    EXPECT_EQ(link.calls, (QStringList{"open /dev/null", "wpm 25", "weight 45", "leadtail 3 4", "ratio 60", "pins 5",
                                        "mode 16", "char C", "char Q", "char  ", "char K", "char 1", "char A",
                                        "char B", "char C"}));
    // Everything is with the keyer; the main window still sees it busy until the keyer is done.
    EXPECT_TRUE(keyer.busy());
    EXPECT_FALSE(keyer.sender().isSending());
    link.status_ = 0;
    EXPECT_TRUE(waitFor([this] { return !keyer.busy(); }));
}

TEST_F(WinKeyKeyerTest, TheContactIsCommittedBeforeTheKeyerGetsTheTextAndTheMarkIsNeverHandedOver)
{
    openKeyer();
    keyer.setCallField("K1ABC");
    keyer.functionKey(CwMessages::kF1 + 1);
    EXPECT_EQ(commits, QStringList{""});
    EXPECT_TRUE(waitFor([this] { return !keyer.sender().isSending(); }));
    EXPECT_EQ(link.sent, "TU K1ABC ");
}

TEST_F(WinKeyKeyerTest, AnUnreachableKeyerShowsTheBoxAndTheTextIsDiscarded)
{
    keyer.functionKey(CwMessages::kF1);
    link.finishOpen({WinKeyLink::kNoEcho, 0, {}});
    EXPECT_EQ(failedPorts, std::vector<int>{1});
    EXPECT_EQ(winKey.version(), 0);
    EXPECT_FALSE(keyer.busy());
    EXPECT_TRUE(keyer.sender().buffer().isEmpty());
    EXPECT_TRUE(link.sent.isEmpty());
    EXPECT_TRUE(problems.isEmpty());
}

// A port that cannot be opened gives the same box, and the system's reason on the status line.
TEST_F(WinKeyKeyerTest, APortFailureAlsoNamesItsReason)
{
    QSignalSpy opened(&winKey, &WinKeyKeyer::opened);
    link.immediateOpen = Opened{WinKeyLink::kComOpenFailed, 0, "/dev/null: Permission denied"};
    winKey.open();
    EXPECT_EQ(failedPorts, std::vector<int>{1});
    EXPECT_EQ(problems, QStringList{"/dev/null: Permission denied"});
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0][0].toInt(), WinKeyLink::kComOpenFailed);

    // A port number that names no device never reaches the driver.
    WinKeySettings s = winKey.settings();
    s.port = 0;
    winKey.setSettings(s);
    winKey.open();
    EXPECT_EQ(link.opens, 1);
    EXPECT_EQ(failedPorts, (std::vector<int>{1, 0}));
    EXPECT_EQ(problems.last(), "WinKey port 0 names no serial port");
}

TEST_F(WinKeyKeyerTest, AnOpenIsNeverRunTwiceAtOnce)
{
    keyer.functionKey(CwMessages::kF1);
    winKey.open();
    keyer.typeCharacter('E');
    winKey.transmit();
    EXPECT_EQ(link.opens, 1);
    link.finishOpen({WinKeyLink::kSuccess, 10, {}});
    winKey.open();
    EXPECT_EQ(link.opens, 1);  // already open: nothing is sent again
    EXPECT_EQ(winKey.version(), 10);
}

TEST_F(WinKeyKeyerTest, ControlCodesNeverReachTheKeyer)
{
    openKeyer();
    winKey.appendText(QStringLiteral("A\x18" "B\x19" "C\x7f\u00e9D"));
    EXPECT_EQ(link.sent, "ABCD");
}

// The wait for the keyer ends when the text is gone: Esc clears the keyer and the buffer, and
// nothing more goes out when the keyer is ready again.
TEST_F(WinKeyKeyerTest, EscEndsAWaitForTheKeyerAndClearsIt)
{
    openKeyer();
    link.status_ = WinKeyKeyer::kWaitStatus;
    keyer.functionKey(CwMessages::kF1);
    EXPECT_TRUE(link.sent.isEmpty());
    EXPECT_TRUE(keyer.busy());
    keyer.clear();
    EXPECT_EQ(link.takeCalls(), QStringList{"clear"});
    EXPECT_FALSE(keyer.busy());
    link.status_ = 0;
    QTest::qWait(3 * WinKeyKeyer::kWaitPollMs);
    EXPECT_TRUE(link.sent.isEmpty());
}

TEST_F(WinKeyKeyerTest, TheHandOverGoesOnAsTheKeyerLetsIt)
{
    openKeyer();
    link.busyOnCharacter = false;
    keyer.functionKey(CwMessages::kF1);
    EXPECT_EQ(link.sent, "CQ ");  // the message without a call
    link.sent.clear();
    link.status_ = WinKeyKeyer::kWaitStatus;
    winKey.appendText("ABC");
    EXPECT_TRUE(link.sent.isEmpty());
    link.status_ = 1;
    EXPECT_TRUE(waitFor([this] { return link.sent == "ABC"; }, 1000));
    EXPECT_FALSE(keyer.sender().isSending());
}

// The F1 repeat's gap starts when the keyer reports that it has sent everything, not at the
// hand-over, so a long message never queues behind itself.
TEST_F(WinKeyKeyerTest, TheRepeatGapStartsWhenTheKeyerHasSentEverything)
{
    CwSettings s = keyer.sender().settings();
    s.repeatSeconds = "1";
    keyer.sender().setSettings(s);
    openKeyer();
    keyer.functionKey(CwMessages::kF1);
    EXPECT_EQ(link.sent, "CQ ");
    QTest::qWait(5 * WinKeyKeyer::kIdlePollMs);
    EXPECT_FALSE(keyer.sender().repeatTimerActive());
    link.status_ = 0;
    EXPECT_TRUE(waitFor([this] { return keyer.sender().repeatTimerActive(); }, 1000));

    // Any key ends the repeat and clears the keyer, which holds the repeated text too.
    link.takeCalls();
    keyer.cancelRepeat();
    EXPECT_EQ(link.calls, QStringList{"clear"});
    EXPECT_FALSE(keyer.sender().repeatTimerActive());
}

TEST_F(WinKeyKeyerTest, BackspaceTakesTheWaitingTextFirstThenTheKeyersLastCharacter)
{
    openKeyer();
    link.status_ = WinKeyKeyer::kWaitStatus;
    winKey.appendText("AB");
    EXPECT_TRUE(keyer.backspace());
    EXPECT_EQ(keyer.sender().buffer(), "A");
    EXPECT_TRUE(link.takeCalls().isEmpty());
    EXPECT_TRUE(keyer.backspace());
    EXPECT_TRUE(keyer.backspace());  // the keyer still sends: its last character goes
    EXPECT_EQ(link.takeCalls(), QStringList{"backspace"});
    link.status_ = 0;
    EXPECT_FALSE(keyer.backspace());
    EXPECT_TRUE(link.takeCalls().isEmpty());
}

TEST_F(WinKeyKeyerTest, AKeyerLostMidMessageLeavesNothingQueuedAndSaysWhy)
{
    openKeyer();
    link.status_ = WinKeyKeyer::kWaitStatus;
    keyer.functionKey(CwMessages::kF1);
    ASSERT_TRUE(keyer.busy());
    QSignalSpy closed(&winKey, &WinKeyKeyer::closed);
    link.lose("WinKey stopped answering");
    EXPECT_EQ(problems, QStringList{"WinKey stopped answering"});
    EXPECT_EQ(closed.size(), 1);
    EXPECT_EQ(winKey.version(), 0);
    EXPECT_FALSE(keyer.busy());
    EXPECT_TRUE(keyer.sender().buffer().isEmpty());
}

// Opening the keyer takes the port from the CW keying line once its character has ended; the
// window thread does not wait for that.
TEST_F(WinKeyKeyerTest, OpeningWaitsForTheCwLineToGiveThePortUp)
{
    CwSettings s = keyer.sender().settings();
    s.cwInterface = kCwDtr;
    s.messages[0] = "E";
    keyer.sender().setSettings(s);
    // The dit stays on the air for a while in real time.
    timer.holdLongerThanNs = 30'000'000;
    timer.holdLimit = std::chrono::milliseconds(300);
    keyer.functionKey(CwMessages::kF1);
    ASSERT_TRUE(waitFor([this] { return timer.holding.load(); }));

    winKey.open();
    EXPECT_TRUE(winKey.opening());
    EXPECT_EQ(link.opens, 0);
    ASSERT_TRUE(waitFor([this] { return link.opens == 1; }));
    EXPECT_FALSE(serial.isOpen());
    EXPECT_EQ(link.openedPath, "/dev/null");
}

// The PTT line takes a shared port from the keyer: its buffer is cleared and it is closed.
TEST_F(WinKeyKeyerTest, ThePttLineClosesTheKeyer)
{
    openKeyer();
    const auto device = SerialLineSharing::deviceIdOf(QStringLiteral("/dev/null"));
    ASSERT_TRUE(device);
    ASSERT_TRUE(sharing.claim(*device, User::WinKey));
    QSignalSpy closed(&winKey, &WinKeyKeyer::closed);
    sharing.take(User::VoicePtt, QStringLiteral("/dev/null"), {});
    EXPECT_EQ(link.calls, QStringList{"close"});
    EXPECT_EQ(closed.size(), 1);
    EXPECT_EQ(winKey.version(), 0);
    sharing.release(*device, User::WinKey);
}

TEST_F(WinKeyKeyerTest, UnloadAndReleaseClearAndCloseTheKeyerAtOnce)
{
    openKeyer();
    keyer.unloadWinKey();
    EXPECT_EQ(link.takeCalls(), QStringList{"closeNow"});
    EXPECT_EQ(winKey.version(), 0);
    keyer.unloadWinKey();
    EXPECT_TRUE(link.calls.isEmpty());  // nothing to close twice

    openKeyer();
    keyer.releaseAll();
    EXPECT_EQ(link.takeCalls(), QStringList{"closeNow"});
}

TEST_F(WinKeyKeyerTest, StopEmptiesBothBuffers)
{
    openKeyer();
    link.status_ = WinKeyKeyer::kWaitStatus;
    winKey.appendText("ABC");
    winKey.stop();
    EXPECT_EQ(link.takeCalls(), QStringList{"clear"});
    EXPECT_TRUE(keyer.sender().buffer().isEmpty());
    EXPECT_FALSE(keyer.busy());
}

}  // namespace
}  // namespace cubwave::test
