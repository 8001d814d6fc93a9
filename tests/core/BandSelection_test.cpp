#include "core/BandSelection.h"

#include <gtest/gtest.h>

#include <limits>

using namespace cubwave;
using Mode = BandSelection::ModeCommand;

TEST(BandSelection, FrequencyWindowsHoldTheirEdgesAndNothingBeyond)
{
    struct Case {
        float freqMHz;
        const char* band;  // nullptr: no window
    };
    const Case cases[] = {
        {1.7999f, nullptr}, {1.8f, "160"},  {2.0f, "160"},  {2.0001f, nullptr},
        {3.4999f, nullptr}, {3.5f, "80"},   {4.0f, "80"},   {4.0001f, nullptr},
        {7.0f, "40"},       {7.3f, "40"},   {7.3001f, nullptr},
        {14.0f, "20"},      {14.35f, "20"}, {14.3501f, nullptr},
        {21.0f, "15"},      {21.45f, "15"}, {21.4501f, nullptr},
        {28.0f, "10"},      {29.7f, "10"},  {29.7001f, nullptr},
        {50.0f, "6"},       {54.0f, "6"},   {54.0001f, nullptr},
        {10.1f, nullptr},   {146.52f, nullptr}, {0.0f, nullptr}, {-7.1f, nullptr},
        {std::numeric_limits<float>::quiet_NaN(), nullptr},
    };
    for (const Case& c : cases) {
        const auto band = BandSelection::bandForFrequency(c.freqMHz);
        if (c.band)
            EXPECT_EQ(band, QString::fromLatin1(c.band)) << c.freqMHz;
        else
            EXPECT_FALSE(band) << c.freqMHz << " gave " << band->toStdString();
    }
}

TEST(BandSelection, FrequencyReportRunsABandCommandOnlyOnAChange)
{
    struct Case {
        float freqMHz;
        const char* currentBand;
        const char* command;  // nullptr: none
        const char* text;
    };
    const Case cases[] = {
        {7.15f, "40", nullptr, "7.150"},  {14.2f, "40", "20", "14.200"}, {50.1f, "20", "6", "50.100"},
        {1.9f, "80", "160", "1.900"},     {10.1f, "40", nullptr, "10.100"}, {146.52f, "20", nullptr, "146.520"},
        {7.02f, "40", nullptr, "7.020"},  {0.5f, "40", nullptr, ".500"},
    };
    for (const Case& c : cases) {
        const auto r = BandSelection::frequencyReport(c.freqMHz, QString::fromLatin1(c.currentBand));
        if (c.command)
            EXPECT_EQ(r.bandCommand, QString::fromLatin1(c.command)) << c.freqMHz;
        else
            EXPECT_FALSE(r.bandCommand) << c.freqMHz;
        EXPECT_EQ(r.frequencyText, QString::fromLatin1(c.text)) << c.freqMHz;
    }

    // A report that is no number changes nothing, the frequency text included.
    const auto r = BandSelection::frequencyReport(std::numeric_limits<float>::infinity(), "40");
    EXPECT_FALSE(r.bandCommand);
    EXPECT_FALSE(r.frequencyText);
}

TEST(BandSelection, BandLabelClickCyclesAndLeaves160Alone)
{
    const std::pair<const char*, const char*> cases[] = {
        {"80", "40"}, {"40", "20"}, {"20", "15"}, {"15", "10"}, {"10", "6"}, {"6", "2"}, {"2", "80"},
        {"160", nullptr}, {"", nullptr}, {"17", nullptr},
    };
    for (const auto& [from, to] : cases) {
        const auto next = BandSelection::nextBandOnClick(QString::fromLatin1(from));
        if (to)
            EXPECT_EQ(next, QString::fromLatin1(to)) << from;
        else
            EXPECT_FALSE(next) << from;
    }
    for (const char* band : {"160", "6", "2"})
        EXPECT_TRUE(BandSelection::bandCommandReloadsLog(QString::fromLatin1(band))) << band;
    for (const char* band : {"80", "40", "20", "15", "10"})
        EXPECT_FALSE(BandSelection::bandCommandReloadsLog(QString::fromLatin1(band))) << band;
}

TEST(BandSelection, RigModeSelectsOnlyADifferentKnownMode)
{
    struct Case {
        const char* rig;
        const char* current;
        Mode command;
    };
    const Case cases[] = {
        {"PH", "CW", Mode::Ph}, {"ph", "CW", Mode::Ph}, {"CW", "PH", Mode::Cw}, {"cw", "ph", Mode::Cw},
        {"ph", "PH", Mode::None}, {"CW", "cw", Mode::None}, {"USB", "CW", Mode::None}, {"", "CW", Mode::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BandSelection::modeSelection(QString::fromLatin1(c.rig), QString::fromLatin1(c.current)), c.command)
            << c.rig << " over " << c.current;
}
