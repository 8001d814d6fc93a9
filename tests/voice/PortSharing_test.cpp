#include "cw/CwKeyer.h"
#include "cw/CwMessages.h"
#include "cw/CwSenderFixture.h"
#include "platform/SerialLineSharing.h"
#include "support/FakeClock.h"
#include "support/FakeKeying.h"
#include "support/FakeWavePlayer.h"
#include "support/TestFiles.h"
#include "voice/VoiceKeyer.h"
#include "voice/WaveFixtures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace cubwave::test {
namespace {

using User = SerialLineSharing::User;

bool lastState(const FakeSerialLine& line, ModemLine which)
{
    bool up = false;
    for (const auto& c : line.changes()) {
        if (c.line == which)
            up = c.raised;
    }
    return up;
}

// The CW keying line on DTR and the voice PTT line on RTS of one port: the CW line as port 1,
// the PTT line as port 2 through a link to the same device, as /dev/serial/by-id names it.
class PortSharingTest : public ::testing::Test {
protected:
    PortSharingTest()
    {
        QFile::link(QStringLiteral("/dev/null"), link);
        cwSerial.sharing = &sharing;
        cwSerial.user = User::CwKeying;
        pttSerial.sharing = &sharing;
        pttSerial.user = User::VoicePtt;
        // Each element takes real time, so a character is still on the air when F1 comes.
        timer.realDelayPerWait = std::chrono::milliseconds(15);

        CwSettings cs;
        cs.cwInterface = kCwDtr;
        cs.port = "1";
        cs.speedWpm = "20";
        cs.messages[1] = "PARIS PARIS PARIS";
        cw.sender().setSettings(cs);

        const QString cq = dir.filePath("cq.wav");
        writeFile(cq, wavBytes(8000, 1, 16, 16000));
        player.scripts[cq].durationMs = 1000;
        VoiceSettings vs;
        vs.paths[0] = cq;
        vs.port = "2";
        voice.setSettings(vs);
        QObject::connect(&voice, &VoiceKeyer::pttChanged, [this](bool up) {
            if (up)
                cwLineOpenWhenPttRose = cwSerial.isOpen() || lastState(cwSerial, ModemLine::Dtr);
        });
    }
    ~PortSharingTest() override
    {
        voice.releaseAll();
        cw.releaseAll();
        waitFor([this] { return !cw.busy(); });
    }

    QTemporaryDir dir;
    const QString link = dir.filePath("usb-Prolific-if00-port0");
    SerialLineSharing sharing;
    VirtualKeyingTimer timer;
    FakeSerialLine cwSerial{[this] { return timer.nowNs(); }};
    FakeSerialLine pttSerial;
    FakeParallelPorts parallel;
    CwKeyer cw{timer, cwSerial, parallel, [] { return SerialPortMap::parse("1=/dev/null\n"); }, &sharing};
    FakeClock clock;
    FakeWavePlayer player{[this] { return clock.ticksMs(); }};
    VoiceKeyer voice{{player, pttSerial, parallel, [this] { return SerialPortMap::parse("2=" + link.toLocal8Bit()); },
                      clock, &sharing}};
    bool cwLineOpenWhenPttRose = true;
};

// F1 in phone mode while CW still sends on the same port: the CW text stops after the character
// on the air, its line closes, and only then does PTT go up for the whole message. The CW line
// does not come back for more.
TEST_F(PortSharingTest, PttWaitsForTheCharacterOnTheAirAndKeepsThePort)
{
    cw.functionKey(CwMessages::kF1 + 1);
    ASSERT_TRUE(waitFor([this] { return lastState(cwSerial, ModemLine::Dtr); }));
    voice.fKeyPhone(VoiceKeyer::kF1);
    EXPECT_TRUE(voice.waitingForPort());
    EXPECT_FALSE(voice.pttUp());
    EXPECT_TRUE(pttSerial.opens.empty());
    EXPECT_TRUE(cw.sender().buffer().isEmpty());

    ASSERT_TRUE(waitFor([this] { return voice.pttUp(); }));
    EXPECT_FALSE(cwLineOpenWhenPttRose);
    EXPECT_FALSE(cwSerial.isOpen());
    EXPECT_EQ(decode(cwSerial.edges(ModemLine::Dtr), 60), "P");
    EXPECT_TRUE(lastState(pttSerial, ModemLine::Rts));
    EXPECT_EQ(player.nowPlaying(), dir.filePath("cq.wav"));

    // The message plays to its end with PTT up; the CW line stays closed meanwhile.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_TRUE(voice.pttUp());
    EXPECT_EQ(cwSerial.opens.size(), 1u);
    clock.advanceMs(1000);
    ASSERT_TRUE(waitFor([this] { return !voice.pttUp(); }));
    EXPECT_FALSE(lastState(pttSerial, ModemLine::Rts));

    // CW takes the port back at its next sending; the PTT line lets go at once.
    cw.functionKey(CwMessages::kF1 + 1);
    ASSERT_TRUE(waitFor([this] { return cwSerial.isOpen(); }));
    EXPECT_FALSE(pttSerial.isOpen());
}

// Esc while the message waits for the port: nothing keys once the CW character has ended.
TEST_F(PortSharingTest, AMessageStoppedWhileItWaitsNeverKeys)
{
    cw.functionKey(CwMessages::kF1 + 1);
    ASSERT_TRUE(waitFor([this] { return lastState(cwSerial, ModemLine::Dtr); }));
    voice.fKeyPhone(VoiceKeyer::kF1);
    ASSERT_TRUE(voice.waitingForPort());
    EXPECT_TRUE(voice.playing());  // Esc goes to the message
    voice.stop();
    EXPECT_FALSE(voice.waitingForPort());
    ASSERT_TRUE(waitFor([this] { return !cw.busy() && !cwSerial.isOpen(); }));
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 100)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_TRUE(pttSerial.opens.empty());
    EXPECT_FALSE(voice.pttUp());
    EXPECT_FALSE(voice.messageOn());
}

}  // namespace
}  // namespace cubwave::test
