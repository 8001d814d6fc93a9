#include "bandplan/SidebandTable.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

const SidebandTable kTable(std::vector<BandPlanRecord>{
    {"160", "E", "PH", 1.8f, 2},
    {"80", "E", "CW", 3.5f, 3.6f},
    {"80", "E", "PH", 3.6f, 4},
    {"60", "E", "PH", 5.3306f, 5.3334f},
    {"40", "E", "CW", 7, 7.125f},
    {"40", "E", "PH", 7.125f, 7.3f},
    {"20", "E", "PH", 14.15f, 14.35f},
    {"20", "E", "PH", 14.1f, 14.2f},   // overlaps: the first record in the file wins
    {"10", "E", "RTTY", 28.07f, 28.15f},
    {"10", "E", "ph", 28.3f, 29.7f},   // mode texts compare exactly
});

struct Case {
    float mhz;
    const char* mode;
};

class Sideband : public ::testing::TestWithParam<Case> {};

TEST_P(Sideband, FollowsTheFirstRecordAroundTheFrequency)
{
    EXPECT_EQ(kTable.sidebandFor(GetParam().mhz), QString::fromLatin1(GetParam().mode)) << GetParam().mhz;
}

INSTANTIATE_TEST_SUITE_P(Frequencies, Sideband,
                         ::testing::Values(Case{1.9f, ""},        // no mode command on 160 m
                                           Case{3.55f, "CW"}, Case{3.75f, "LSB"},
                                           Case{5.332f, "USB"},   // 60 m voice is upper sideband
                                           Case{7.025f, "CW"}, Case{7.2f, "LSB"},
                                           Case{7.125f, ""},      // on an edge: strictly inside neither
                                           Case{7, ""}, Case{7.3f, ""},
                                           Case{14.12f, "USB"}, Case{14.2f, "USB"},
                                           Case{28.1f, "RTTY"}, Case{29.0f, "ph"},
                                           Case{100, ""}, Case{0, ""}, Case{-7.2f, ""}));

TEST(Sideband, IsEmptyWithoutABandPlan)
{
    EXPECT_EQ(SidebandTable().sidebandFor(7.2f), "");
}

}  // namespace
