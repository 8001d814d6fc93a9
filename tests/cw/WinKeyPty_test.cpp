#include "cw/WinKeyDriver.h"
#include "platform/PosixSerialLine.h"
#include "platform/QtOneShotTimer.h"
#include "platform/SystemClock.h"
#include "support/WinKeySimulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>

namespace cubwave {
namespace {

using test::WinKeySimulator;

// Lets the event loop run until done holds or ms pass.
bool runUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// The real line and timers against the simulator; the waits shortened where a test waits on them.
struct PtyRig {
    explicit PtyRig(WinKeySimulator::Mode mode = WinKeySimulator::Mode::Normal, WinKeyTimings timings = {})
        : sim(mode), driver(line, clock, timer, timings)
    {
        driver.onClosedByItself([this](const QString& why) { closedReasons << why; });
    }
    int open()
    {
        result = 99;
        driver.open(sim.slavePath(), [this](int r, quint8 v) {
            result = r;
            version = v;
        });
        runUntil([this] { return result != 99; }, 3000);
        return result;
    }
    // Hands text over as a window would: while the status allows.
    void send(const QByteArray& text)
    {
        for (char c : text) {
            runUntil([this] { return driver.status() < WinKeyDriver::kStatusWait; }, 5000);
            driver.sendCharacter(uchar(c));
        }
    }

    WinKeySimulator sim;
    PosixSerialLine line;
    SystemClock clock;
    QtOneShotTimer timer;
    WinKeyDriver driver;
    int result = 99;
    int version = -1;
    QStringList closedReasons;
};

TEST(WinKeyPty, OpensSendsSettingsAndTextAndClosesCleanly)
{
    PtyRig rig;
    ASSERT_TRUE(rig.sim.ok());
    ASSERT_EQ(rig.open(), WinKeyDriver::kSuccess) << rig.driver.errorText().toStdString();
    EXPECT_EQ(rig.version, WinKeySimulator::kRevision);
    EXPECT_TRUE(rig.sim.hostOpen());
    rig.sim.setCharacterMs(5);
    rig.driver.setSpeed(28);
    rig.driver.setWeight(50);
    rig.driver.setLeadTail(3, 4);
    rig.driver.setRatio(50);
    rig.driver.setPinConfig(6);
    rig.driver.setMode(16);
    rig.send("CQ TEST DE W1AW");
    ASSERT_TRUE(runUntil([&] { return rig.driver.status() == 0; }, 5000));
    EXPECT_EQ(rig.sim.keyed(), "CQ TEST DE W1AW");
    EXPECT_EQ(rig.driver.echoed(), "CQ TEST DE W1AW");
    const WinKeySimulator::Settings s = rig.sim.settings();
    EXPECT_EQ(s.wpm, 28);
    EXPECT_EQ(s.leadIn, 3);
    EXPECT_EQ(s.tail, 4);
    EXPECT_EQ(s.pins, 6);
    EXPECT_EQ(s.mode, 16 | 4);
    EXPECT_EQ(rig.sim.statusRequests(), 0) << "a keyer that answers is never asked";

    EXPECT_EQ(rig.driver.close(), 0);
    ASSERT_TRUE(runUntil([&] { return !rig.line.isOpen(); }, 2000));
    ASSERT_TRUE(runUntil([&] { return !rig.sim.hostOpen(); }, 2000));
    EXPECT_TRUE(rig.sim.received().endsWith(QByteArray("\x0A\x0A\x0A\x00\x03", 5)));
    EXPECT_TRUE(rig.closedReasons.isEmpty());
}

TEST(WinKeyPty, EscStopsTheKeyerWithLittleLeftToDrop)
{
    PtyRig rig;
    ASSERT_EQ(rig.open(), WinKeyDriver::kSuccess);
    rig.sim.setCharacterMs(60);
    rig.send("ABCDEFGHIJ");
    ASSERT_TRUE(runUntil([&] { return rig.sim.keyed().size() >= 2; }, 3000));
    // At most four handed over beyond the last echo: the keyer never holds much.
    EXPECT_LE(rig.sim.buffered().size(), WinKeyDriver::kMaxAhead);
    rig.driver.clearBuffer();
    EXPECT_EQ(rig.driver.status(), 0);
    ASSERT_TRUE(runUntil([&] { return rig.sim.clears() == 1; }, 2000));
    runUntil([] { return false; }, 300);
    EXPECT_LT(rig.sim.keyed().size(), 6) << rig.sim.keyed().toStdString();
    EXPECT_TRUE(rig.sim.buffered().isEmpty());
}

TEST(WinKeyPty, KeyersThatDoNotAnswerRightGiveTheirCodes)
{
    const struct {
        WinKeySimulator::Mode mode;
        int code;
    } cases[] = {
        {WinKeySimulator::Mode::Silent, WinKeyDriver::kNoEcho},
        {WinKeySimulator::Mode::WrongEcho, WinKeyDriver::kEchoMismatch},
        {WinKeySimulator::Mode::Slow, WinKeyDriver::kNoEcho},
        {WinKeySimulator::Mode::Garbage, WinKeyDriver::kEchoMismatch},
    };
    for (const auto& c : cases) {
        PtyRig rig(c.mode);
        EXPECT_EQ(rig.open(), c.code) << int(c.mode);
        EXPECT_EQ(rig.version, 0);
        EXPECT_FALSE(rig.line.isOpen());
        EXPECT_TRUE(rig.sim.received().startsWith(QByteArray("\x13\x13\x13\x00\x04", 5))) << int(c.mode);
    }
    // Slow, but within the reply time: opens.
    PtyRig slow(WinKeySimulator::Mode::Slow);
    slow.sim.setSlowReplyMs(100);
    EXPECT_EQ(slow.open(), WinKeyDriver::kSuccess);
}

// A pty's hung-up side reads nothing rather than an error, as a real adapter would: the silence
// is found by the status request, whose write fails.
TEST(WinKeyPty, UnpluggedMidMessageClosesAndLeavesNothingQueued)
{
    WinKeyTimings fast;
    fast.xoffProbeMs = 300;
    PtyRig rig(WinKeySimulator::Mode::Normal, fast);
    ASSERT_EQ(rig.open(), WinKeyDriver::kSuccess);
    rig.sim.setCharacterMs(50);
    rig.send("CQ CQ");
    rig.sim.unplug();
    ASSERT_TRUE(runUntil([&] { return !rig.closedReasons.isEmpty(); }, 3000));
    EXPECT_FALSE(rig.driver.isOpen());
    EXPECT_FALSE(rig.line.isOpen());
    EXPECT_EQ(rig.driver.unsent(), 0);
    EXPECT_EQ(rig.driver.status(), WinKeyDriver::kNotOpen);
}

TEST(WinKeyPty, AKeyerThatFallsSilentMidMessageIsClosed)
{
    WinKeyTimings fast;
    fast.xoffProbeMs = 300;
    PtyRig rig(WinKeySimulator::Mode::Normal, fast);
    ASSERT_EQ(rig.open(), WinKeyDriver::kSuccess);
    rig.sim.setCharacterMs(100000);  // one character that never ends
    rig.sim.setDeaf(true);
    rig.send("T");
    ASSERT_TRUE(runUntil([&] { return !rig.closedReasons.isEmpty(); }, 3000));
    EXPECT_GE(rig.sim.statusRequests(), 1);
    EXPECT_EQ(rig.driver.status(), WinKeyDriver::kNotOpen);
}

TEST(WinKeyPty, XoffFromASmallBufferHoldsTheTextBack)
{
    PtyRig rig;
    ASSERT_EQ(rig.open(), WinKeyDriver::kSuccess);
    // XOFF once three wait in a buffer of four, which four ahead never overflow.
    rig.sim.setBufferSize(4);
    rig.sim.setCharacterMs(80);
    bool sawWait = false;
    for (char c : QByteArray("VVV TEST")) {
        runUntil([&] {
            const int status = rig.driver.status();
            sawWait = sawWait || status >= WinKeyDriver::kStatusWait;
            return status < WinKeyDriver::kStatusWait;
        }, 5000);
        rig.driver.sendCharacter(uchar(c));
        EXPECT_LE(rig.sim.buffered().size(), 4);
    }
    ASSERT_TRUE(runUntil([&] {
        const int status = rig.driver.status();
        sawWait = sawWait || status >= WinKeyDriver::kStatusWait;
        EXPECT_LE(rig.sim.buffered().size(), 4);
        return status == 0;
    }, 5000));
    EXPECT_EQ(rig.sim.keyed(), "VVV TEST");
    EXPECT_TRUE(sawWait);
}

}  // namespace
}  // namespace cubwave
