#include "rig/RigPollDriver.h"
#include "rig/SerialRigLink.h"

#include "support/FakeClock.h"
#include "support/FakeKeying.h"
#include "support/FakeRigPollTimer.h"

#include <gtest/gtest.h>

namespace cubwave::test {
namespace {

RigSettings settingsFor(const char* rig, QChar power = u'N')
{
    RigSettings s;
    s.selectRig(*RigModels::find(QString::fromLatin1(rig)));
    s.powerLine = power;
    return s;
}

struct OpenCase {
    const char* rig;
    char power;
    int handshaking;
    const char* lineSettings;
    QByteArray opening;
    // Modem changes after the two drops of opening: (line, raised).
    std::vector<std::pair<ModemLine, bool>> afterOpen;
};

class SerialRigLinkOpen : public ::testing::TestWithParam<OpenCase> {};

TEST_P(SerialRigLinkOpen, SetsTheLineDropsModemLinesAndSendsTheOpeningBytes)
{
    const OpenCase& c = GetParam();
    FakeSerialLine line;
    SerialRigLink link(line);
    const RigSettings settings = settingsFor(c.rig, QLatin1Char(c.power));
    ASSERT_FALSE(link.open(*RigModels::find(QString::fromLatin1(c.rig)), settings, QStringLiteral("/dev/ttyUSB0")));
    EXPECT_EQ(line.handshaking, c.handshaking);
    EXPECT_EQ(line.settings, QString::fromLatin1(c.lineSettings));
    EXPECT_EQ(line.written, c.opening);
    const auto changes = line.changes();
    ASSERT_GE(changes.size(), 2u);
    EXPECT_FALSE(changes[0].raised);
    EXPECT_FALSE(changes[1].raised);
    std::vector<std::pair<ModemLine, bool>> after;
    for (size_t i = 2; i < changes.size(); ++i)
        after.emplace_back(changes[i].line, changes[i].raised);
    EXPECT_EQ(after, c.afterOpen);
}

INSTANTIATE_TEST_SUITE_P(
    Models, SerialRigLinkOpen,
    ::testing::Values(
        OpenCase{"Kenwood", 'N', 0, "4800,N,8,2", {}, {}},
        OpenCase{"Kenwood", 'D', 0, "4800,N,8,2", {}, {{ModemLine::Dtr, true}}},
        OpenCase{"Icom", 'R', 0, "1200,N,8,1", {}, {{ModemLine::Rts, true}}},
        OpenCase{"Yaesu 890", 'N', 0, "4800,N,8,2", QByteArray(5, '\0'), {}},
        OpenCase{"Yaesu FTdx9000", 'N', 0, "4800,N,8,2", {}, {}},
        // 56000 is no tty rate; the Ten-Tec radios run at 57600. RTS goes back to the flow control.
        OpenCase{"Ten Tec Orion", 'N', 2, "57600,N,8,1", "X\r", {{ModemLine::Rts, true}}},
        OpenCase{"Ten Tec Fnt Pnl", 'D', 2, "57600,N,8,1", {}, {{ModemLine::Rts, true}, {ModemLine::Dtr, true}}}));

TEST(SerialRigLink, RefusesRtsPowerWhereRtsIsTheFlowControl)
{
    FakeSerialLine line;
    SerialRigLink link(line);
    for (const char* rig : {"Ten Tec Orion", "Ten Tec Fnt Pnl"}) {
        const auto failure = link.open(*RigModels::find(QString::fromLatin1(rig)), settingsFor(rig, u'R'),
                                       QStringLiteral("/dev/ttyUSB0"));
        ASSERT_TRUE(failure) << rig;
        EXPECT_TRUE(failure->contains(QStringLiteral("RTS/CTS"))) << failure->toStdString();
        EXPECT_TRUE(line.opens.empty());
    }
}

TEST(SerialRigLink, APortWithoutModemLinesStillOpens)
{
    FakeSerialLine line;
    line.refuseModemLines = true;
    SerialRigLink link(line);
    EXPECT_FALSE(link.open(*RigModels::find(u"Kenwood"), settingsFor("Kenwood", u'D'), QStringLiteral("/dev/pts/3")));
    EXPECT_TRUE(link.isOpen());
}

TEST(SerialRigLink, AFailedOpenGivesTheSystemsReason)
{
    FakeSerialLine line;
    line.failOpen = true;
    SerialRigLink link(line);
    const auto failure = link.open(*RigModels::find(u"Kenwood"), settingsFor("Kenwood"), QStringLiteral("/dev/ttyS9"));
    ASSERT_TRUE(failure);
    EXPECT_EQ(*failure, QStringLiteral("No such file or directory"));
}

TEST(SerialRigLink, ALostLineFailsEveryRequest)
{
    FakeSerialLine line;
    SerialRigLink link(line);
    ASSERT_FALSE(link.open(*RigModels::find(u"Kenwood"), settingsFor("Kenwood"), QStringLiteral("/dev/ttyUSB0")));
    line.lost = true;
    line.error = QStringLiteral("Input/output error");
    EXPECT_FALSE(link.pendingOutputBytes());
    EXPECT_FALSE(link.takeInput());
    EXPECT_FALSE(link.send("FA;"));
    EXPECT_EQ(link.failureReason(), QStringLiteral("Input/output error"));
}

struct PollIntervalCase {
    char rate;
    int intervalMs;
};

class RigPollDriverInterval : public ::testing::TestWithParam<PollIntervalCase> {};

TEST_P(RigPollDriverInterval, TheTimerRunsAtHalfTheCaptionsCycle)
{
    FakeSerialLine line;
    FakeRigPollTimer timer;
    FakeClock clock;
    RigPollDriver driver(line, timer, clock);
    RigSettings settings = settingsFor("Kenwood");
    settings.pollRate = QLatin1Char(GetParam().rate);
    ASSERT_FALSE(driver.start(settings, QStringLiteral("/dev/ttyUSB0"), false, {}));
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.intervalMs(), GetParam().intervalMs);
    // One tick ran at once: the queries went out.
    EXPECT_EQ(line.written, QByteArray("FA;MD;"));
}

INSTANTIATE_TEST_SUITE_P(Rates, RigPollDriverInterval,
                         ::testing::Values(PollIntervalCase{'F', 50}, PollIntervalCase{'M', 250},
                                           PollIntervalCase{'S', 1000}, PollIntervalCase{'R', 5000}));

TEST(RigPollDriver, ClosingWhilePollingAYaesuSendsTheCloseBytesOnceThenCloses)
{
    FakeSerialLine line;
    FakeRigPollTimer timer;
    FakeClock clock;
    RigPollDriver driver(line, timer, clock);
    ASSERT_FALSE(driver.start(settingsFor("Yaesu 890"), QStringLiteral("/dev/ttyUSB0"), false, {}));
    line.written.clear();
    driver.shutdown();
    driver.shutdown();
    EXPECT_EQ(line.written, QByteArray("\x00\x00\x00\x00\x80", 5));
    EXPECT_FALSE(line.isOpen());
    EXPECT_FALSE(timer.isActive());
}

TEST(RigPollDriver, NoCloseBytesWhenNotPollingOrForTheFtdx9000)
{
    for (const char* rig : {"Yaesu FTdx9000", "Kenwood"}) {
        FakeSerialLine line;
        FakeRigPollTimer timer;
        FakeClock clock;
        RigPollDriver driver(line, timer, clock);
        ASSERT_FALSE(driver.start(settingsFor(rig), QStringLiteral("/dev/ttyUSB0"), false, {}));
        line.written.clear();
        driver.shutdown();
        EXPECT_TRUE(line.written.isEmpty()) << rig;
    }
    FakeSerialLine line;
    FakeRigPollTimer timer;
    FakeClock clock;
    RigPollDriver driver(line, timer, clock);
    ASSERT_FALSE(driver.start(settingsFor("Yaesu"), QStringLiteral("/dev/ttyUSB0"), false, {}));
    driver.stop();
    line.written.clear();
    driver.shutdown();
    EXPECT_TRUE(line.written.isEmpty());
}

TEST(RigPollDriver, TheCloseBytesAreDrainedBeforeTheLineCloses)
{
    FakeSerialLine line;
    FakeRigPollTimer timer;
    FakeClock clock;
    RigPollDriver driver(line, timer, clock);
    ASSERT_FALSE(driver.start(settingsFor("Yaesu"), QStringLiteral("/dev/ttyUSB0"), false, {}));
    line.queued = 5;  // never drains: the wait gives up after its limit
    driver.shutdown();
    EXPECT_GE(clock.ticksMs(), SerialRigLink::kDrainLimitMs);
    EXPECT_FALSE(line.isOpen());
}

TEST(RigPollDriver, ALostLineStopsPollingAndClosesThePortOnce)
{
    FakeSerialLine line;
    FakeRigPollTimer timer;
    FakeClock clock;
    RigPollDriver driver(line, timer, clock);
    std::vector<RigTickResult> results;
    driver.setTickHandler([&](const RigTickResult& r) { results.push_back(r); });
    ASSERT_FALSE(driver.start(settingsFor("Kenwood"), QStringLiteral("/dev/ttyUSB0"), false, {}));
    line.lost = true;
    line.error = QStringLiteral("Input/output error");
    timer.fire();
    timer.fire();
    ASSERT_EQ(results.size(), 2u);
    ASSERT_TRUE(results[1].lineLost);
    EXPECT_EQ(*results[1].lineLost, QStringLiteral("Input/output error"));
    EXPECT_FALSE(timer.isActive());
    EXPECT_FALSE(line.isOpen());
}

TEST(SerialRigLink, PassesBytesBothWaysAndCountsWhatWaitsToGoOut)
{
    FakeSerialLine line;
    ASSERT_TRUE(line.open(QStringLiteral("/dev/ttyUSB0")));
    SerialRigLink link(line);
    EXPECT_TRUE(link.send("FA;"));
    EXPECT_EQ(line.written, "FA;");
    line.queued = 3;
    EXPECT_EQ(link.pendingOutputBytes(), 3);
    line.incoming = "FA00014025000;";
    EXPECT_EQ(link.takeInput(), QByteArray("FA00014025000;"));
    EXPECT_EQ(link.takeInput(), QByteArray());
}

TEST(SerialRigLink, AClosedLineRefusesEveryRequestWithAReason)
{
    FakeSerialLine line;
    SerialRigLink link(line);
    EXPECT_FALSE(link.send("FA;"));
    EXPECT_EQ(link.pendingOutputBytes(), std::nullopt);
    EXPECT_EQ(link.takeInput(), std::nullopt);
    EXPECT_FALSE(link.failureReason().isEmpty());
}

}  // namespace
}  // namespace cubwave::test
