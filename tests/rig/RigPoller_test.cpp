// The poll state machine on a fake line: what each tick sends, what it reports, and how it
// behaves when the radio is slow, silent or gone.
#include "rig/RigPoller.h"
#include "support/FakeRigLink.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace cubwave;
using cubwave::test::FakeRigLink;

namespace {

QByteArray hex(const char* spaced) { return QByteArray::fromHex(spaced); }

class Poll : public ::testing::Test {
protected:
    void start(const char16_t* rig, QChar pollRate = u'F', const std::function<void(RigSettings&)>& tweak = {})
    {
        settings.selectRig(*RigModels::find(QStringView(rig)));
        settings.pollRate = pollRate;
        if (tweak)
            tweak(settings);
        poller.start(RigPollSettings::from(settings, convertFromHex, pegasusFolder), now);
    }
    // One timer tick, then the clock moves on by one interval.
    RigTickResult tick()
    {
        RigTickResult result = poller.tick(now);
        now += poller.settings().intervalMs;
        return result;
    }
    // A send tick whose query the radio answers with reply, then the read tick.
    RigTickResult cycle(const QByteArray& reply)
    {
        tick();
        link.input += reply;
        return tick();
    }

    FakeRigLink link;
    RigPoller poller{&link};
    RigSettings settings;
    bool convertFromHex = false;
    QString pegasusFolder;
    qint64 now = 100000;
};

TEST_F(Poll, KenwoodSendsBothQueriesThenReadsAndDecodes)
{
    start(u"Kenwood");
    RigTickResult result = tick();
    EXPECT_TRUE(result.queried);
    EXPECT_EQ(link.sent, QList<QByteArray>{"FA;MD;"});
    EXPECT_TRUE(poller.awaitingReply());

    link.input = "FA00014025000;MD3;";
    result = tick();
    EXPECT_FALSE(poller.awaitingReply());
    EXPECT_EQ(result.frequencyLabel, "14.02500");
    EXPECT_EQ(result.modeLabel, "CW");
    EXPECT_EQ(result.unprocessedLabel, "FA00014025000;MD3;");
    EXPECT_EQ(result.bandReportMHz, 14.025f);
    EXPECT_EQ(result.modeReport, "CW");

    // The next tick sends again.
    EXPECT_TRUE(tick().queried);
    EXPECT_EQ(link.sent.size(), 2);
}

TEST_F(Poll, SendsOnlyWhenNothingIsWaitingToGoOut)
{
    start(u"Kenwood");
    link.pendingOutput = 3;
    EXPECT_FALSE(tick().queried);
    EXPECT_TRUE(poller.awaitingReply());  // the read tick still follows
    tick();
    link.pendingOutput = 0;
    EXPECT_TRUE(tick().queried);
    EXPECT_EQ(link.sent.size(), 1);
}

TEST_F(Poll, IcomAlternatesItsQueriesAndDecodesByTheToggle)
{
    start(u"Icom");
    tick();
    EXPECT_EQ(link.sent.last(), hex("FE FE 64 E0 03 FD"));
    EXPECT_EQ(poller.queryToggle(), 1);
    link.input = hex("FE FE 64 E0 03 FD FE FE E0 64 03 00 50 02 14 00 FD");
    EXPECT_EQ(tick().bandReportMHz, 14.025f);

    tick();
    EXPECT_EQ(link.sent.last(), hex("FE FE 64 E0 04 FD"));
    EXPECT_EQ(poller.queryToggle(), 0);
    link.input = hex("FE FE 64 E0 04 FD FE FE E0 64 04 03 01 FD");
    const RigTickResult result = tick();
    EXPECT_EQ(result.modeReport, "CW");
    EXPECT_EQ(result.bandReportMHz, 14.025f);  // the last frequency goes along
}

TEST_F(Poll, IcomWithAShortModeQueryPollsTheFrequencyOnly)
{
    start(u"Icom", u'F', [](RigSettings& s) { s.modeQuery = "FE FE 64"; });
    for (int i = 0; i < 8; ++i)
        tick();
    EXPECT_EQ(link.sent, (QList<QByteArray>{hex("FE FE 64 E0 03 FD"), hex("FE FE 64 E0 03 FD")}));
}

struct SendCase {
    const char* name;
    const char16_t* rig;
    std::function<void(RigSettings&)> tweak;
    QList<QByteArray> firstTwoSends;
};

void PrintTo(const SendCase& c, std::ostream* os) { *os << c.name; }

class SendRules : public Poll, public ::testing::WithParamInterface<SendCase> {};

TEST_P(SendRules, SendWhatTheFamilyAsks)
{
    start(GetParam().rig, u'F', GetParam().tweak);
    for (int i = 0; i < 4; ++i)
        tick();
    EXPECT_EQ(link.sent, GetParam().firstTwoSends);
}

INSTANTIATE_TEST_SUITE_P(
    Families, SendRules,
    ::testing::Values(
        SendCase{"Elecraft", u"Elecraft", {}, {"FA;MD;", "FA;MD;"}},
        SendCase{"Kenwood2", u"Kenwood 2", {}, {"IF;", "IF;"}},
        SendCase{"KenwoodEmptyMode", u"Kenwood", [](RigSettings& s) { s.modeQuery.clear(); }, {"FA;", "FA;"}},
        SendCase{"Yaesu", u"Yaesu", {}, {hex("00 00 00 00 03"), hex("00 00 00 00 03")}},
        SendCase{"Yaesu890", u"Yaesu 890", {}, {hex("00 00 00 02 10"), hex("00 00 00 02 10")}},
        // Thirteen characters are not a five-byte query.
        SendCase{"YaesuShortQuery", u"Yaesu", [](RigSettings& s) { s.frequencyQuery = "00 00 00 00 0"; }, {}},
        SendCase{"YaesuBadHex", u"Yaesu", [](RigSettings& s) { s.frequencyQuery = "00 00 0G 00 03"; }, {}},
        SendCase{"FTdx9000", u"Yaesu FTdx9000", {}, {"FA;", "MD0;"}},
        SendCase{"FrontPanel", u"Ten Tec Fnt Pnl", {}, {hex("3F 41 0D"), hex("3F 4D 0D")}},
        SendCase{"Orion", u"Ten Tec Orion", {}, {"?AF\r?RMM\r", "?AF\r?RMM\r"}},
        SendCase{"OtherAsText", u"Other", [](RigSettings& s) { s.frequencyQuery = "f;"; s.modeQuery = "m;"; },
                 {"f;m;", "f;m;"}},
        SendCase{"OtherAsHex", u"Other",
                 [](RigSettings& s) {
                     s.convertToHex = true;
                     s.frequencyQuery = "41 42";
                     s.modeQuery = "0D";
                 },
                 {"AB\r", "AB\r"}},
        SendCase{"Pegasus", u"Ten Tec Pegasus", {}, {}}),
    [](const ::testing::TestParamInfo<SendCase>& info) { return std::string(info.param.name); });

TEST_F(Poll, SendsNothingForNone)
{
    start(u"None");
    EXPECT_FALSE(poller.polling());
    tick();
    tick();
    EXPECT_TRUE(link.sent.isEmpty());
}

TEST_F(Poll, ReportsTheFrequencyOnlyAboveZero)
{
    start(u"Kenwood");
    // A mode without any frequency yet: the mode goes to the main window, no ".000" frequency.
    RigTickResult result = cycle("MD2;");
    EXPECT_EQ(result.modeReport, "PH");
    EXPECT_FALSE(result.bandReportMHz);
    EXPECT_FALSE(result.frequencyLabel);
    EXPECT_EQ(result.modeLabel, "PH");
}

TEST_F(Poll, FollowsTheModeAndFrequencyBoxes)
{
    start(u"Kenwood", u'F', [](RigSettings& s) {
        s.modeBy = ModeSource::Frequency;
        s.useFrequency = false;
    });
    // CW segment of 20 m wins over the radio's USB.
    RigTickResult result = cycle("FA00014025000;MD2;");
    EXPECT_EQ(result.modeReport, "CW");
    EXPECT_FALSE(result.bandReportMHz);
    EXPECT_EQ(result.frequencyLabel, "14.02500");
    // On 160 m the last mode stays.
    result = cycle("FA00001830000;MD2;");
    EXPECT_EQ(result.modeReport, "PH");

    start(u"Kenwood", u'F', [](RigSettings& s) {
        s.modeBy = ModeSource::DontUse;
        s.useFrequency = true;
    });
    result = cycle("FA00014025000;MD3;");
    EXPECT_FALSE(result.modeReport);
    EXPECT_EQ(result.modeLabel, "CW");
    EXPECT_EQ(result.bandReportMHz, 14.025f);
}

TEST_F(Poll, ShowsTheRawReplyAsHexAndOnlyItsLastKilobyte)
{
    convertFromHex = true;
    start(u"Yaesu");
    RigTickResult result = cycle(hex("01 40 25 00 02"));
    EXPECT_EQ(result.unprocessedLabel, "01 40 25 00 02 ");

    convertFromHex = false;
    start(u"Other", u'F', [](RigSettings& s) { s.frequencyQuery = "q"; });
    result = cycle(QByteArray(3000, 'a') + QByteArray(1024, 'b'));
    EXPECT_EQ(result.unprocessedLabel, QString(1024, u'b'));
}

TEST_F(Poll, WaitsForTheRestOfASplitRecordBeforeTheNextQuery)
{
    start(u"Yaesu 890");
    QByteArray record(19, '\0');
    record.replace(2, 3, hex("15 66 84"));
    record[7] = 2;
    tick();
    link.input = record.first(7);
    RigTickResult result = tick();
    EXPECT_FALSE(result.bandReportMHz);
    // Part of the record is held: the send tick stays quiet.
    EXPECT_FALSE(tick().queried);
    link.input = record.sliced(7) + hex("00 00");
    result = tick();
    EXPECT_EQ(result.bandReportMHz, 14.025f);
    EXPECT_EQ(result.modeReport, "CW");
    EXPECT_TRUE(tick().queried);
    EXPECT_EQ(link.sent.size(), 2);
}

TEST_F(Poll, DropsAPartialReplyStillIncompleteASecondAfterItsQuery)
{
    start(u"Yaesu 890");
    tick();
    link.input = hex("00 01 15 66");  // a shorter record from other firmware, then silence
    tick();
    for (int i = 0; i < 18; ++i)
        EXPECT_FALSE(tick().queried) << i;  // 50 ms ticks up to 950 ms after the query
    EXPECT_TRUE(tick().queried);
    // Its tail, arriving now, cannot start the new reply.
    link.input = hex("C4 00 00 02");
    EXPECT_FALSE(tick().bandReportMHz);
}

TEST_F(Poll, ReadsTheReplyFiveSecondsAfterItsQueryAtTenSeconds)
{
    start(u"Kenwood", u'R');
    EXPECT_EQ(poller.settings().intervalMs, 5000);
    const qint64 queryAt = now;
    EXPECT_TRUE(tick().queried);
    link.input = "FA00014025000;";
    EXPECT_EQ(now - queryAt, 5000);
    EXPECT_EQ(tick().bandReportMHz, 14.025f);
}

TEST_F(Poll, SaysNoResponseOnceAfterThreeSilentCyclesAndTwoSeconds)
{
    start(u"Kenwood");  // 100 ms cycles
    EXPECT_FALSE(cycle("FA00014025000;").noResponse);
    int reports = 0;
    qint64 reportedAt = 0;
    const qint64 lastReply = now;
    for (int i = 0; i < 60; ++i) {
        const RigTickResult result = tick();
        if (result.noResponse) {
            ++reports;
            reportedAt = now;
            EXPECT_EQ(result.frequencyLabel, RigPoller::kNoResponse);
            EXPECT_EQ(result.modeLabel, RigPoller::kNoResponse);
        }
    }
    EXPECT_EQ(reports, 1);
    EXPECT_GE(reportedAt - lastReply, 2000);
    EXPECT_LE(reportedAt - lastReply, 2200);

    // Garbage is no answer: the labels keep "No Response" and nothing reaches the main window.
    const RigTickResult garbage = cycle("?;");
    EXPECT_FALSE(garbage.frequencyLabel);
    EXPECT_FALSE(garbage.bandReportMHz);

    // An answer ends the silence; a new one is reported again.
    EXPECT_EQ(cycle("FA00014025000;").frequencyLabel, "14.02500");
    for (int i = 0; i < 60; ++i)
        reports += tick().noResponse;
    EXPECT_EQ(reports, 2);
}

TEST_F(Poll, SlowPollingNeedsThreeCyclesBeforeNoResponse)
{
    start(u"Kenwood", u'S');  // 2 s cycles
    int cyclesBeforeReport = 0;
    for (int i = 0; i < 10; ++i) {
        tick();
        ++cyclesBeforeReport;
        if (tick().noResponse)
            break;
    }
    EXPECT_EQ(cyclesBeforeReport, 3);
}

TEST_F(Poll, TimeSuspendedForACommandIsNotSilence)
{
    start(u"Kenwood");
    cycle("FA00014025000;");
    poller.suspend(now);
    EXPECT_FALSE(tick().queried);  // ticks do nothing while a command has the line
    now += 10000;
    poller.resume(now);
    int reports = 0;
    for (int i = 0; i < 6; ++i)
        reports += tick().noResponse;
    EXPECT_EQ(reports, 0);
}

TEST_F(Poll, ResumingDropsWhatArrivedForTheCommand)
{
    start(u"Icom");
    cycle(hex("FE FE E0 64 03 00 50 02 14 00 FD"));
    poller.suspend(now);
    link.input = hex("FE FE E0 64 FB FD FE FE E0 64 03 00 00 00 07 00 FD");  // acknowledgement, stray frame
    poller.resume(now);
    tick();  // the mode query; the old input is read and discarded until it went out
    EXPECT_EQ(poller.frequencyMHz(), 14.025f);
}

TEST_F(Poll, LosingTheLineStopsPollingWithTheSystemsReason)
{
    start(u"Kenwood");
    cycle("FA00014025000;");
    link.failed = true;
    link.reason = "No such device";
    const RigTickResult result = tick();
    EXPECT_EQ(result.lineLost, "No such device");
    EXPECT_FALSE(poller.polling());
    EXPECT_FALSE(tick().lineLost);  // said once
}

TEST_F(Poll, SendsTheYaesuClosingBytesOnceWhilePolling)
{
    start(u"Yaesu 890");
    tick();
    link.sent.clear();
    EXPECT_TRUE(poller.sendClosingBytes());
    EXPECT_FALSE(poller.sendClosingBytes());
    EXPECT_EQ(link.sent, QList<QByteArray>{hex("00 00 00 00 80")});

    link.sent.clear();
    start(u"Yaesu FTdx9000");
    EXPECT_FALSE(poller.sendClosingBytes());
    start(u"Yaesu");
    poller.stop();
    EXPECT_FALSE(poller.sendClosingBytes());
    EXPECT_TRUE(link.sent.isEmpty());
}

TEST_F(Poll, TestClearsTheModeButKeepsTheToggleAndTheAwaitingFlag)
{
    start(u"Yaesu FTdx9000");
    tick();
    link.input = "FA14025000;";
    tick();
    tick();
    link.input = "MD03;";
    tick();
    EXPECT_EQ(poller.mode(), "CW");
    tick();  // frequency query out, awaiting its reply
    start(u"Yaesu FTdx9000");
    EXPECT_TRUE(poller.mode().isEmpty());
    EXPECT_EQ(poller.frequencyMHz(), 14.025f);
    EXPECT_TRUE(poller.awaitingReply());
    EXPECT_EQ(poller.queryToggle(), 1);
}

TEST_F(Poll, KeepsTheKenwoodVfoDigit)
{
    EXPECT_EQ(poller.kenwoodVfoDigit(), 10);
    start(u"Kenwood 2");
    cycle("IF00014025000     +000000000021000000;");
    EXPECT_EQ(poller.kenwoodVfoDigit(), 1);
}

TEST_F(Poll, OtherCountsAnyReplyAsAnAnswer)
{
    start(u"Other", u'F', [](RigSettings& s) { s.frequencyQuery = "?"; });
    const RigTickResult result = cycle("whatever");
    EXPECT_EQ(result.unprocessedLabel, "whatever");
    EXPECT_EQ(result.modeLabel, "");
    EXPECT_FALSE(result.bandReportMHz);
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(cycle("x").noResponse);
}

TEST_F(Poll, OtherWithoutQueriesShowsWhatTheRadioSendsByItself)
{
    start(u"Other");
    EXPECT_FALSE(tick().queried);
    link.input = "FA00014025000;";
    EXPECT_EQ(tick().unprocessedLabel, "FA00014025000;");
    link.input = "FA00014026000;";
    tick();
    EXPECT_EQ(tick().unprocessedLabel, "FA00014025000;FA00014026000;");
}

TEST_F(Poll, PegasusReadsTheExchangeFileOnEachReadTick)
{
    QTemporaryDir dir;
    pegasusFolder = dir.path();
    start(u"Ten Tec Pegasus");
    EXPECT_FALSE(cycle({}).bandReportMHz);  // no file yet

    QFile file(dir.filePath("PEGASUS.OUT"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("14.025,\"USB\"\r\n");
    file.close();
    const RigTickResult result = cycle({});
    EXPECT_EQ(result.bandReportMHz, 14.025f);
    EXPECT_EQ(result.modeReport, "PH");
    EXPECT_TRUE(link.sent.isEmpty());
}

TEST_F(Poll, DiscardsTheAnswerToTheOpeningBytes)
{
    start(u"Yaesu");
    link.input = hex("07 00 00 00 01");  // arrived before the first query
    EXPECT_TRUE(tick().queried);
    link.input = hex("01 40 25 00 02");
    EXPECT_EQ(tick().bandReportMHz, 14.025f);
}

TEST_F(Poll, ReadsAReplyThatMissedItsReadTickBeforeAskingAgain)
{
    start(u"Ten Tec Fnt Pnl");
    EXPECT_TRUE(tick().queried);  // "?A"
    EXPECT_FALSE(tick().bandReportMHz);
    link.input = QByteArray("A") + hex("00 D6 01 28") + "\r";
    EXPECT_FALSE(tick().queried);  // the answer is there: no "?M" yet
    EXPECT_EQ(tick().bandReportMHz, 14.025f);
    EXPECT_TRUE(tick().queried);
    EXPECT_EQ(link.sent.size(), 2);
}

}  // namespace
