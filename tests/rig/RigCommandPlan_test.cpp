#include "rig/RigCommandPlan.h"

#include <gtest/gtest.h>

using namespace cubwave;
using Kind = RigCommandStep::Kind;
using Part = RigCommandStep::Part;

namespace {

const SidebandTable kSidebands(std::vector<BandPlanRecord>{
    {"160", "E", "PH", 1.8f, 2}, {"40", "E", "CW", 7, 7.125f}, {"40", "E", "PH", 7.125f, 7.3f},
    {"20", "E", "PH", 14.15f, 14.35f}});

RigCommandContext contextFor(const char* rig)
{
    RigCommandContext context;
    context.model = RigModels::find(QString::fromLatin1(rig));
    context.frequencyQuery = QString::fromLatin1(context.model->defaults.frequencyQuery);
    context.modeQuery = QString::fromLatin1(context.model->defaults.modeQuery);
    return context;
}

RigCommandStep step(Kind kind, Part part, int delayMs = 0, QByteArray bytes = {}, QString text = {})
{
    return {kind, part, delayMs, std::move(bytes), std::move(text)};
}

std::vector<int> pauses(const std::vector<RigCommandStep>& steps)
{
    std::vector<int> out;
    for (const RigCommandStep& s : steps) {
        if (s.kind == Kind::Pause)
            out.push_back(s.delayMs);
    }
    return out;
}

std::vector<QByteArray> sends(const std::vector<RigCommandStep>& steps)
{
    std::vector<QByteArray> out;
    for (const RigCommandStep& s : steps) {
        if (s.kind == Kind::Send)
            out.push_back(s.bytes);
    }
    return out;
}

TEST(RigCommandPlan, SetsTheBandPlansModeThenTheFrequencyWithThePollSuspended)
{
    const auto steps = RigCommandPlan::changeFrequency(contextFor("Kenwood"), 7'025'000, u"", kSidebands);
    const std::vector<RigCommandStep> expected{
        step(Kind::SuspendPoll, Part::Frequency),
        step(Kind::DiscardInput, Part::Frequency),
        step(Kind::WaitDrained, Part::Mode),
        step(Kind::Pause, Part::Mode, 99),
        step(Kind::Send, Part::Mode, 0, "MD3;", "CW"),
        step(Kind::WaitDrained, Part::Mode),
        step(Kind::Pause, Part::Frequency, 205),
        step(Kind::Send, Part::Frequency, 0, "FA00007025000;"),
        step(Kind::WaitDrained, Part::Frequency),
        // Again, as a radio that changed band has recalled that band's last mode.
        step(Kind::Pause, Part::Mode, 99),
        step(Kind::Send, Part::Mode, 0, "MD3;", "CW"),
        step(Kind::WaitDrained, Part::Mode),
        step(Kind::ResumePoll, Part::Frequency),
    };
    EXPECT_EQ(steps, expected);
}

TEST(RigCommandPlan, SetsTheModeAgainAfterEveryFrequencyCommandThatFollowedOne)
{
    struct Case {
        const char* rig;
        const char16_t* mode;
        std::vector<QByteArray> sends;
    };
    for (const Case& c :
         {Case{"Elecraft", u"", {"MD3;", "FA00007025000;", "MD3;"}},
          Case{"Icom", u"", {QByteArray::fromHex("FEFE64E00603FD"), QByteArray::fromHex("FEFE64E0050050020700FD"),
                             QByteArray::fromHex("FEFE64E00603FD")}},
          Case{"Yaesu", u"USB", {QByteArray::fromHex("0100000007"), QByteArray::fromHex("0070250001"),
                                 QByteArray::fromHex("0100000007")}}}) {
        EXPECT_EQ(sends(RigCommandPlan::changeFrequency(contextFor(c.rig), 7'025'000, c.mode, kSidebands)), c.sends)
            << c.rig;
    }
    // No mode command, nothing to repeat: 160 m, and radios that take none.
    EXPECT_EQ(sends(RigCommandPlan::changeFrequency(contextFor("Kenwood"), 1'900'000, u"", kSidebands)).size(), 1u);
    for (const char* rig : {"Icom 735", "Ten Tec Orion", "Ten Tec Fnt Pnl"})
        EXPECT_EQ(sends(RigCommandPlan::changeFrequency(contextFor(rig), 7'025'000, u"CW", kSidebands)).size(), 1u)
            << rig;
}

TEST(RigCommandPlan, SendsNoModeCommandOn160MetresOrOutsideEveryRecord)
{
    for (qint64 hz : {1'900'000LL, 10'120'000LL, 7'125'000LL}) {
        const auto steps = RigCommandPlan::changeFrequency(contextFor("Kenwood"), hz, u"", kSidebands);
        EXPECT_EQ(sends(steps).size(), 1u) << hz;
        EXPECT_EQ(pauses(steps), std::vector<int>{205}) << hz;
    }
}

TEST(RigCommandPlan, TakesAGivenModeOverTheBandPlans)
{
    const auto steps = RigCommandPlan::changeFrequency(contextFor("Kenwood"), 5'357'000, u"USB", kSidebands);
    EXPECT_EQ(sends(steps), (std::vector<QByteArray>{"MD2;", "FA00005357000;", "MD2;"}));
}

TEST(RigCommandPlan, PausesAsLongAsEachRadioNeeds)
{
    struct Case {
        const char* rig;
        std::vector<int> pauses;
    };
    // The last 99 ms is the pause before the mode command goes again.
    for (const Case& c : {Case{"Kenwood", {99, 205, 99}}, Case{"Kenwood 2", {99, 205, 99}},
                          Case{"Elecraft", {99, 205, 1000, 99}}, Case{"Icom", {99, 140, 99}},
                          Case{"Ten Tec Omni VI", {99, 140, 220, 99}}, Case{"Icom 735", {140}},
                          Case{"Yaesu", {99, 205, 99}}, Case{"Yaesu 890", {99, 205, 99}}, Case{"Yaesu 1000", {99, 10, 99}},
                          Case{"Yaesu FTdx9000", {99, 205, 99}}, Case{"Ten Tec Fnt Pnl", {205}},
                          Case{"Ten Tec Orion", {205}}, Case{"Ten Tec Pegasus", {205}}, Case{"Other", {}}}) {
        const auto steps = RigCommandPlan::changeFrequency(contextFor(c.rig), 7'025'000, u"", kSidebands);
        EXPECT_EQ(pauses(steps), c.pauses) << c.rig;
    }
}

TEST(RigCommandPlan, PegasusWritesItsFileAndKeepsNoSerialInput)
{
    RigCommandContext context = contextFor("Ten Tec Pegasus");
    context.rigMode = QStringLiteral("CW");
    const auto steps = RigCommandPlan::changeFrequency(context, 7'025'000, u"", kSidebands);
    EXPECT_TRUE(std::none_of(steps.begin(), steps.end(), [](const RigCommandStep& s) {
        return s.kind == Kind::DiscardInput || s.kind == Kind::Send;
    }));
    const auto file = std::find_if(steps.begin(), steps.end(),
                                   [](const RigCommandStep& s) { return s.kind == Kind::WritePegasusFile; });
    ASSERT_NE(file, steps.end());
    EXPECT_EQ(file->bytes, "7.025\r\nCW\r\n");
}

TEST(RigCommandPlan, RefusesAFrequencyItCannotSendBeforeSendingAnything)
{
    // 1270 MHz lies in a phone segment, so a mode command would go first if the frequency were
    // checked after it.
    SidebandTable sidebands(std::vector<BandPlanRecord>{{"23", "E", "PH", 1240, 1300}});
    const auto steps = RigCommandPlan::changeFrequency(contextFor("Yaesu"), 1'270'000'000, u"", sidebands);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].kind, Kind::Report);
    EXPECT_EQ(steps[0].part, Part::Frequency);
    EXPECT_FALSE(steps[0].text.isEmpty());
    ASSERT_EQ(sends(RigCommandPlan::changeFrequency(contextFor("Yaesu"), 14'250'000, u"", sidebands)).size(), 1u);
}

TEST(RigCommandPlan, ReportsAModeItCannotSendAndGoesOnWithTheFrequency)
{
    RigCommandContext context = contextFor("Yaesu FTdx9000");
    context.modeQuery = QStringLiteral("M");
    const auto steps = RigCommandPlan::changeFrequency(context, 7'025'000, u"", kSidebands);
    const auto report = std::find_if(steps.begin(), steps.end(), [](const RigCommandStep& s) { return s.kind == Kind::Report; });
    ASSERT_NE(report, steps.end());
    EXPECT_EQ(report->part, Part::Mode);
    EXPECT_TRUE(report->text.endsWith(" CW")) << report->text.toStdString();
    EXPECT_EQ(sends(steps), std::vector<QByteArray>{"FA07025000;"});
}

TEST(RigCommandPlan, ChangeModeAloneLeavesThePollAlone)
{
    const auto steps = RigCommandPlan::changeMode(contextFor("Icom"), 0, u"USB", kSidebands);
    const std::vector<RigCommandStep> expected{
        step(Kind::WaitDrained, Part::Mode),
        step(Kind::Pause, Part::Mode, 99),
        step(Kind::Send, Part::Mode, 0, QByteArray::fromHex("FEFE64E00601FD"), "USB"),
        step(Kind::WaitDrained, Part::Mode),
    };
    EXPECT_EQ(steps, expected);
    EXPECT_TRUE(RigCommandPlan::changeMode(contextFor("None"), 0, u"USB", kSidebands).empty());
    EXPECT_TRUE(RigCommandPlan::changeMode(contextFor("Kenwood"), 0, u"", kSidebands).empty());
    EXPECT_TRUE(RigCommandPlan::changeMode(contextFor("Icom 735"), 0, u"USB", kSidebands).empty());
}

}  // namespace
