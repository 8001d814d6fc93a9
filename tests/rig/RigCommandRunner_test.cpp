// The command sequence on the window thread, played out on a fake clock and a fake timer: order,
// pauses, the suspended poll, latest wins and cancelling.
#include "rig/RigCommandRunner.h"
#include "support/FakeClock.h"
#include "support/FakeOneShotTimer.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

using namespace cubwave;
using namespace cubwave::test;

namespace {

// A rig line that notes when each write went out and can hold bytes back from draining.
class TimedLink final : public RigLink {
public:
    explicit TimedLink(FakeClock& clock) : clock_(clock) {}
    std::optional<qint64> pendingOutputBytes() override
    {
        if (failed)
            return std::nullopt;
        return clock_.ticksMs() < drainedAtMs ? 1 : 0;
    }
    bool send(const QByteArray& bytes) override
    {
        if (failed)
            return false;
        writes.push_back({clock_.ticksMs(), bytes});
        drainedAtMs = clock_.ticksMs() + drainMs;
        return true;
    }
    std::optional<QByteArray> takeInput() override
    {
        if (failed)
            return std::nullopt;
        return std::exchange(input, QByteArray());
    }
    QString failureReason() const override { return QStringLiteral("Input/output error"); }

    struct Write {
        qint64 atMs;
        QByteArray bytes;
    };
    std::vector<Write> writes;
    QByteArray input;
    qint64 drainMs = 0;        // how long each write takes to leave the line
    qint64 drainedAtMs = 0;
    bool failed = false;

    std::vector<QByteArray> commands() const
    {
        std::vector<QByteArray> out;
        for (const Write& w : writes) {
            if (w.bytes != "FA;MD;")  // poll queries
                out.push_back(w.bytes);
        }
        return out;
    }

private:
    FakeClock& clock_;
};

class RigCommandRunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        runner.setLink(&link);
        runner.setSidebands(SidebandTable(std::vector<BandPlanRecord>{
            {"160", "E", "PH", 1.8f, 2}, {"40", "E", "CW", 7, 7.125f}, {"40", "E", "PH", 7.125f, 7.3f},
            {"20", "E", "PH", 14.15f, 14.35f}, {"15", "E", "CW", 21, 21.2f}, {"23", "E", "PH", 1240, 1300}}));
    }

    void startPolling(const char* rig = "Kenwood")
    {
        RigPollSettings settings;
        settings.model = RigModels::find(QString::fromLatin1(rig));
        settings.frequencyQuery = QString::fromLatin1(settings.model->defaults.frequencyQuery);
        settings.modeQuery = QString::fromLatin1(settings.model->defaults.modeQuery);
        settings.pegasusFolder = folder.path();
        poller.start(settings, clock.ticksMs());
    }

    // Runs a poll tick as the window's timer would and says whether a query went out.
    bool pollTick()
    {
        const size_t before = link.writes.size();
        poller.tick(clock.ticksMs());
        if (link.writes.size() > before)
            return true;
        poller.tick(clock.ticksMs());  // a read tick first, then the send tick
        return link.writes.size() > before;
    }

    FakeClock clock;
    FakeOneShotTimer timer;
    TimedLink link{clock};
    RigPoller poller{&link};
    RigCommandRunner runner{poller, timer, clock};
    QTemporaryDir folder;
};

TEST_F(RigCommandRunnerTest, SendsTheModeThenTheFrequencyAfterTheirPauses)
{
    startPolling();
    runner.changeFrequency(7'025'000);
    ASSERT_TRUE(timer.run(clock));
    // The mode goes again after the frequency: a radio that changed band has recalled its own.
    ASSERT_EQ(link.commands(), (std::vector<QByteArray>{"MD3;", "FA00007025000;", "MD3;"}));
    EXPECT_GE(link.writes[0].atMs, 99);
    EXPECT_GE(link.writes[1].atMs - link.writes[0].atMs, 205);
    EXPECT_GE(link.writes[2].atMs - link.writes[1].atMs, 99);
    EXPECT_FALSE(runner.busy());
}

TEST_F(RigCommandRunnerTest, NeverEndsAPauseEarlyWhenTheTimerFiresBeforeItsTime)
{
    startPolling("Elecraft");
    timer.earlyByMs = 7;
    runner.changeFrequency(7'025'000);
    ASSERT_TRUE(timer.run(clock));
    ASSERT_EQ(link.commands().size(), 3u);
    EXPECT_GE(link.writes[0].atMs, 99);
    EXPECT_GE(link.writes[1].atMs - link.writes[0].atMs, 1205);
    EXPECT_GE(link.writes[2].atMs - link.writes[1].atMs, 99);
}

TEST_F(RigCommandRunnerTest, WaitsForTheLineToDrainButNoLongerThanTwoSeconds)
{
    startPolling();
    link.drainMs = 50;
    runner.changeFrequency(7'025'000);
    ASSERT_TRUE(timer.run(clock));
    ASSERT_EQ(link.writes.size(), 3u);
    // Each pause starts once the command before it has left the line.
    EXPECT_GE(link.writes[1].atMs - link.writes[0].atMs, 50 + 205);
    EXPECT_GE(link.writes[2].atMs - link.writes[1].atMs, 50 + 99);

    link.writes.clear();
    link.drainMs = 1'000'000;  // a line that never drains
    const qint64 start = clock.ticksMs();
    runner.changeFrequency(14'200'000);
    ASSERT_TRUE(timer.run(clock));
    ASSERT_EQ(link.commands(), (std::vector<QByteArray>{"MD2;", "FA00014200000;", "MD2;"}));
    EXPECT_GE(link.writes[1].atMs - start, 99 + 2000 + 205);
    EXPECT_LT(link.writes[1].atMs - start, 99 + 2000 + 205 + 20);
}

TEST_F(RigCommandRunnerTest, SuspendsThePollDropsPendingInputAndResumes)
{
    startPolling();
    link.input = "FA00014000000;MD2;";  // a reply that is no longer wanted
    runner.changeFrequency(7'025'000);
    EXPECT_TRUE(link.input.isEmpty());
    while (timer.isActive()) {
        EXPECT_FALSE(pollTick()) << "a poll query went out during the command";
        timer.fire(clock);
    }
    EXPECT_FALSE(runner.busy());
    EXPECT_TRUE(pollTick());
    EXPECT_EQ(link.writes.back().bytes, "FA;MD;");
    EXPECT_EQ(poller.frequencyMHz(), 0);  // the old reply was never decoded
}

TEST_F(RigCommandRunnerTest, DoesNothingWhileThePollIsStoppedExceptModeCommands)
{
    runner.changeFrequency(7'025'000);
    EXPECT_FALSE(timer.isActive());
    EXPECT_TRUE(link.writes.empty());

    startPolling();
    poller.stop();
    runner.changeFrequency(7'025'000);
    EXPECT_TRUE(link.writes.empty());

    runner.changeMode(0, QStringLiteral("USB"));
    ASSERT_TRUE(timer.run(clock));
    EXPECT_EQ(link.commands(), std::vector<QByteArray>{"MD2;"});
}

TEST_F(RigCommandRunnerTest, SendsNoModeOn160MetresOrOutsideEveryRecord)
{
    startPolling();
    runner.changeFrequency(1'900'000);
    ASSERT_TRUE(timer.run(clock));
    runner.changeFrequency(10'120'000);
    ASSERT_TRUE(timer.run(clock));
    EXPECT_EQ(link.commands(), (std::vector<QByteArray>{"FA00001900000;", "FA00010120000;"}));
}

TEST_F(RigCommandRunnerTest, TheLatestFrequencyWinsWhileACommandRuns)
{
    startPolling();
    runner.changeFrequency(7'025'000);
    timer.fire(clock);  // into the first pause
    runner.changeFrequency(14'200'000);
    runner.changeMode(0, QStringLiteral("AM"));
    runner.changeFrequency(21'025'000);
    runner.changeMode(0, QStringLiteral("FM"));
    EXPECT_TRUE(runner.busy());
    ASSERT_TRUE(timer.run(clock));
    EXPECT_EQ(link.commands(), (std::vector<QByteArray>{"MD3;", "FA00007025000;", "MD3;", "MD3;", "FA00021025000;",
                                                        "MD3;", "MD4;"}));
}

TEST_F(RigCommandRunnerTest, EndTestOrUnloadingCancelsTheCommandAndWhatWaits)
{
    startPolling();
    QSignalSpy idle(&runner, &RigCommandRunner::idle);
    runner.changeFrequency(7'025'000);
    runner.changeFrequency(14'200'000);
    timer.fire(clock);  // the mode command is out; the frequency pause runs
    ASSERT_EQ(link.commands().size(), 1u);
    ASSERT_TRUE(timer.isActive());
    runner.cancel();
    EXPECT_FALSE(timer.isActive());
    EXPECT_FALSE(runner.busy());
    clock.advanceMs(5000);
    EXPECT_EQ(link.commands().size(), 1u);
    EXPECT_TRUE(pollTick()) << "the poll stays suspended";
    EXPECT_EQ(idle.count(), 0);
}

// One value lost on line 3 shifts every record after it: 20 m has no mode, and the status line
// says why, once for each reading of the file.
TEST_F(RigCommandRunnerTest, SaysOnceWhichBandPlanLineCostTheModeCommand)
{
    const QByteArray damaged = "\"2026\"\r\n"
                               "\"40\",\"E\",\"CW\",7,7.125\r\n"
                               "\"40\",\"E\",7.125,7.3\r\n"
                               "\"20\",\"E\",\"CW\",14,14.15\r\n"
                               "\"20\",\"E\",\"PH\",14.15,14.35\r\n";
    runner.setSidebands(SidebandTable::fromBytes(damaged));
    startPolling();
    QSignalSpy status(&runner, &RigCommandRunner::statusMessage);
    runner.changeFrequency(7'025'000);  // read before the damage: its mode goes, nothing is said
    ASSERT_TRUE(timer.run(clock));
    EXPECT_EQ(status.count(), 0);
    runner.changeFrequency(14'025'000);
    ASSERT_TRUE(timer.run(clock));
    runner.changeFrequency(14'200'000);
    ASSERT_TRUE(timer.run(clock));
    ASSERT_EQ(status.count(), 1);
    EXPECT_EQ(status[0][0].toString(),
              "No mode command sent for 14.025 MHz: BandPlan.txt line 3 is damaged (\"7.125\" is not a mode).");
    EXPECT_EQ(link.commands(), (std::vector<QByteArray>{"MD3;", "FA00007025000;", "MD3;", "FA00014025000;",
                                                        "FA00014200000;"}));

    runner.setSidebands(SidebandTable::fromBytes(damaged));  // the file read again
    runner.changeFrequency(14'025'000);
    ASSERT_TRUE(timer.run(clock));
    EXPECT_EQ(status.count(), 2);
}

TEST_F(RigCommandRunnerTest, ReportsAFrequencyItCannotSendAndTheBandGoesOnFollowingTheRig)
{
    startPolling("Yaesu");
    QSignalSpy failed(&runner, &RigCommandRunner::commandFailed);
    runner.changeFrequency(1'270'000'000);
    ASSERT_TRUE(timer.run(clock));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed[0][0].toString(), "Error Changing Frequency");
    EXPECT_EQ(failed[0][1].toString(), "1270 MHz does not fit the radio's 8-digit frequency field.");
    EXPECT_TRUE(link.commands().empty());
    EXPECT_TRUE(poller.polling());
    EXPECT_TRUE(pollTick());
}

TEST_F(RigCommandRunnerTest, AFailedModeCommandIsReportedWithItsModeAndTheFrequencyStillGoes)
{
    startPolling();
    QSignalSpy failed(&runner, &RigCommandRunner::commandFailed);
    runner.changeFrequency(7'025'000);
    link.failed = true;  // the line fails during the pause before the mode command
    ASSERT_TRUE(timer.run(clock));
    ASSERT_EQ(failed.count(), 2);
    EXPECT_EQ(failed[0][0].toString(), "Error Changing Mode");
    EXPECT_EQ(failed[0][1].toString(), "Input/output error CW");
    EXPECT_EQ(failed[1][0].toString(), "Error Changing Frequency");
    EXPECT_EQ(failed[1][1].toString(), "Input/output error");
}

TEST_F(RigCommandRunnerTest, AModeCommandWithTheRigPortClosedSaysSo)
{
    startPolling();
    poller.stop();
    runner.setLink(nullptr);
    QSignalSpy failed(&runner, &RigCommandRunner::commandFailed);
    runner.changeMode(0, QStringLiteral("CW"));
    ASSERT_TRUE(timer.run(clock));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed[0][1].toString(), RigCommandRunner::kPortClosed + " CW");
    EXPECT_EQ(runner.sendRaw("FA;"), RigCommandRunner::kPortClosed);
}

TEST_F(RigCommandRunnerTest, TellsWhenAllIsDone)
{
    startPolling();
    QSignalSpy idle(&runner, &RigCommandRunner::idle);
    runner.changeFrequency(7'025'000);
    runner.changeFrequency(14'200'000);
    ASSERT_TRUE(timer.run(clock));
    EXPECT_EQ(idle.count(), 1);
}

TEST_F(RigCommandRunnerTest, PegasusGetsItsFileInPlaceOfSerialBytes)
{
    startPolling("Ten Tec Pegasus");
    runner.setLink(nullptr);
    runner.changeFrequency(14'025'000);
    ASSERT_TRUE(timer.run(clock));
    EXPECT_EQ(readAll(folder.filePath("PEGASUS.IN")), "14.025\r\n\r\n");
}

TEST_F(RigCommandRunnerTest, RawBytesGoOutAtOnceAndAFailedWriteIsReported)
{
    EXPECT_EQ(runner.sendRaw("FA00028475000;"), std::nullopt);
    EXPECT_EQ(link.writes.back().bytes, "FA00028475000;");
    link.failed = true;
    EXPECT_EQ(runner.sendRaw("FA;"), QStringLiteral("Input/output error"));
}

}  // namespace
