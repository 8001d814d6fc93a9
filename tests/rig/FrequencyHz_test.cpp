#include "rig/FrequencyHz.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

struct ParseCase {
    const char* text;
    std::optional<qint64> hz;
};

class FrequencyText : public ::testing::TestWithParam<ParseCase> {};

TEST_P(FrequencyText, IsReadExactlyToTheHertz)
{
    EXPECT_EQ(FrequencyHz::parseMHz(QString::fromLatin1(GetParam().text)), GetParam().hz) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FrequencyText,
    ::testing::Values(ParseCase{"14.025", 14025000}, ParseCase{" 7.025 ", 7025000}, ParseCase{"1270.00001", 1270000010},
                      ParseCase{"1270.", 1270000000}, ParseCase{".5", 500000}, ParseCase{"-0.5", -500000},
                      ParseCase{"+3", 3000000}, ParseCase{"0", 0},
                      ParseCase{"14.0250004", 14025000}, ParseCase{"14.0250006", 14025001},
                      ParseCase{"14.0250005", 14025000},     // a half goes to the even hertz
                      ParseCase{"14.0250015", 14025002}, ParseCase{"14.02500050001", 14025001},
                      ParseCase{"1000000000", 1'000'000'000'000'000}, ParseCase{"1000000000.000001", std::nullopt},
                      ParseCase{"99999999999999999999", std::nullopt}, ParseCase{"", std::nullopt},
                      ParseCase{".", std::nullopt}, ParseCase{"1.2.3", std::nullopt}, ParseCase{"7/1", std::nullopt},
                      ParseCase{"1e3", std::nullopt}, ParseCase{"14,025", std::nullopt},
                      ParseCase{"- 1", std::nullopt}));

TEST(FrequencyHz, WritesTheShortestText)
{
    EXPECT_EQ(FrequencyHz::toMHzText(14025000), "14.025");
    EXPECT_EQ(FrequencyHz::toMHzText(1270000000), "1270");
    EXPECT_EQ(FrequencyHz::toMHzText(1270000010), "1270.00001");
    EXPECT_EQ(FrequencyHz::toMHzText(10), "0.00001");
    EXPECT_EQ(FrequencyHz::toMHzText(0), "0");
    EXPECT_EQ(FrequencyHz::toMHzText(-500000), "-0.5");
}

TEST(FrequencyHz, RoundsSinglePrecisionMegahertzAsTheRadioCommandsDo)
{
    // 14.025 and 28.475 are not exact in single precision; the hertz still are.
    EXPECT_EQ(FrequencyHz::fromMHz(14.025f), 14025000);
    EXPECT_EQ(FrequencyHz::fromMHz(28.475f), 28475000);
    EXPECT_EQ(FrequencyHz::fromMHz(0.0000025f), 2);  // 2.4999999 Hz
    EXPECT_EQ(FrequencyHz::fromMHz(0.0000005f), 0);  // just under half a hertz
    EXPECT_EQ(FrequencyHz::fromMHz(-7.f), -7000000);
    EXPECT_EQ(FrequencyHz::fromMHz(std::numeric_limits<float>::infinity()), std::nullopt);
    EXPECT_EQ(FrequencyHz::fromMHz(std::numeric_limits<float>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(FrequencyHz::fromMHz(3e30f), std::nullopt);
}

TEST(FrequencyHz, RoundsToCoarserStepsHalvesToEven)
{
    EXPECT_EQ(FrequencyHz::roundedSteps(14025004, 10), 1402500);
    EXPECT_EQ(FrequencyHz::roundedSteps(14025006, 10), 1402501);
    EXPECT_EQ(FrequencyHz::roundedSteps(14025005, 10), 1402500);
    EXPECT_EQ(FrequencyHz::roundedSteps(14025015, 10), 1402502);
    EXPECT_EQ(FrequencyHz::roundedSteps(-15, 10), -2);
}

}  // namespace
