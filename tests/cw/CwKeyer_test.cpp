#include "cw/CwKeyer.h"
#include "cw/CwMessages.h"
#include "cw/CwSenderFixture.h"
#include "platform/SerialLineSharing.h"
#include "support/FakeKeying.h"

#include <gtest/gtest.h>

namespace cubwave::test {
namespace {

using User = SerialLineSharing::User;

class CwKeyerTest : public ::testing::Test {
protected:
    CwKeyerTest()
    {
        serial.sharing = &sharing;
        serial.user = User::CwKeying;
        CwSettings s;
        s.cwInterface = kCwDtr;
        s.port = "1";
        s.speedWpm = "20";
        s.messages[0] = "TEST";
        keyer.sender().setSettings(s);
        keyer.onWindowRequests({}, [this](const QString& text) { status << text; });
        keyer.onTransmitChanged([this](bool on) { transmit.push_back(on); });
        QObject::connect(&keyer.sender(), &CwSender::keyingPortInvalid,
                         [this](const QString& title, const QString&) { invalid << title; });
    }
    bool sendingEnds() { return waitFor([this] { return !keyer.busy(); }); }

    SerialLineSharing sharing;
    VirtualKeyingTimer timer;
    FakeSerialLine serial{[this] { return timer.nowNs(); }};
    FakeParallelPorts parallel;
    CwKeyer keyer{timer, serial, parallel, [] { return SerialPortMap::parse("1=/dev/null\n"); }, &sharing};
    QStringList status;
    QStringList invalid;
    std::vector<bool> transmit;
};

// An adapter pulled out while keying: the line is let go as soon as the failed character has
// ended, so the device name is free again, and the next function key opens the port afresh.
TEST_F(CwKeyerTest, ALineWhoseDeviceIsGoneIsClosedAtOnceAndReopenedByTheNextKey)
{
    serial.goneOnKeyDown = true;
    keyer.functionKey(CwMessages::kF1);
    ASSERT_TRUE(sendingEnds());
    EXPECT_TRUE(waitFor([this] { return !serial.isOpen(); }));
    EXPECT_EQ(serial.closes, 1);
    ASSERT_FALSE(status.isEmpty());
    EXPECT_EQ(status.last(), "CW keying line failed: Input/output error");

    serial.goneOnKeyDown = false;
    serial.lost = false;
    keyer.functionKey(CwMessages::kF1);
    ASSERT_TRUE(sendingEnds());
    EXPECT_EQ(serial.opens.size(), 2u);
    EXPECT_EQ(decode(serial.edges(ModemLine::Dtr), 60), "TEST");
}

// A port the rig polls is never taken: the CW line's own message, and the status line says who
// holds the port. Nothing is keyed and the indicator stays dark.
TEST_F(CwKeyerTest, ThePortOfTheRigIsRefusedWithWhoHoldsIt)
{
    ASSERT_TRUE(sharing.claim(*SerialLineSharing::deviceIdOf(QStringLiteral("/dev/null")), User::Rig));
    keyer.functionKey(CwMessages::kF1);
    ASSERT_TRUE(sendingEnds());
    EXPECT_TRUE(serial.opens.empty());
    EXPECT_EQ(invalid, QStringList{CwKeyingLines::kInvalidPortTitle});
    ASSERT_FALSE(status.isEmpty());
    EXPECT_EQ(status.last(), "/dev/null is used by the rig line");
    EXPECT_TRUE(transmit.empty());
}

TEST_F(CwKeyerTest, TheTransmitSignalFollowsASendingThatKeysALine)
{
    keyer.functionKey(CwMessages::kF1);
    ASSERT_TRUE(sendingEnds());
    ASSERT_TRUE(waitFor([this] { return transmit.size() >= 2; }));
    EXPECT_EQ(transmit, (std::vector<bool>{true, false}));
    EXPECT_FALSE(keyer.onAir());
}

// After a sending on a real port, port "0" keys nothing: the line of the port before is let go
// and the indicator stays dark.
TEST_F(CwKeyerTest, PortZeroAfterARealPortKeysNothingAndLightsNothing)
{
    keyer.functionKey(CwMessages::kF1);
    ASSERT_TRUE(sendingEnds());
    ASSERT_TRUE(waitFor([this] { return transmit.size() >= 2; }));
    const auto changes = serial.changes().size();
    CwSettings s = keyer.sender().settings();
    s.port = "0";
    keyer.sender().setSettings(s);
    keyer.functionKey(CwMessages::kF1);
    ASSERT_TRUE(sendingEnds());
    QCoreApplication::processEvents();
    EXPECT_EQ(serial.changes().size(), changes);
    EXPECT_FALSE(serial.isOpen());
    EXPECT_EQ(transmit, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace cubwave::test
