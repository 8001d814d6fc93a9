#include "station/GreatCircle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace cubwave;

// Expected values worked out independently with the haversine distance and the atan2 form of
// the initial bearing (sphere of 3955.758 miles), longitudes west positive.
TEST(GreatCircle, MatchesHandComputedGreatCircles)
{
    struct Case {
        const char* what;
        float lat1, lon1, lat2, lon2;
        double bearing, miles;
        const char* bearingText;
        const char* distanceText;
    };
    const Case cases[] = {
        {"Connecticut to London", 41.71f, 72.73f, 51.5f, 0.13f, 52.224, 3363.95, "52 ", "3,364 "},
        {"Connecticut to Tokyo", 41.71f, 72.73f, 35.68f, -139.69f, 333.969, 6704.68, "334 ", "6,705 "},
        {"Connecticut to Sydney", 41.71f, 72.73f, -33.87f, -151.21f, 268.186, 9997.10, "268 ", "9,997 "},
        {"Sydney to Connecticut", -33.87f, -151.21f, 41.71f, 72.73f, 63.980, 9997.10, "64 ", "9,997 "},
        {"neighbour due east", 40.f, 75.f, 40.f, 74.f, 89.679, 52.888, "90 ", "53 "},
        {"neighbour due west", 40.f, 75.f, 40.f, 76.f, 270.321, 52.888, "270 ", "53 "},
        {"due south", 10.5f, 20.f, 10.f, 20.f, 180.0, 34.520, "180 ", "35 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BearingDistance r = GreatCircle::compute(c.lat1, c.lon1, c.lat2, c.lon2);
        ASSERT_TRUE(r.hasBearing);
        ASSERT_TRUE(r.hasDistance);
        EXPECT_NEAR(r.bearingDegrees, c.bearing, 0.01);
        EXPECT_NEAR(r.distanceMiles, c.miles, 0.05);
        EXPECT_EQ(r.bearingText, c.bearingText);
        EXPECT_EQ(r.distanceText, c.distanceText);
    }
}

TEST(GreatCircle, DueEastAndWestAreGreatCircleBearings)
{
    // Along a great circle a station due east at the same northern latitude is first headed
    // for a little north of east.
    const BearingDistance east = GreatCircle::compute(45.f, 90.f, 45.f, 60.f);
    const BearingDistance west = GreatCircle::compute(45.f, 90.f, 45.f, 120.f);
    EXPECT_GT(east.bearingDegrees, 75.0);
    EXPECT_LT(east.bearingDegrees, 90.0);
    EXPECT_GT(west.bearingDegrees, 270.0);
    EXPECT_LT(west.bearingDegrees, 285.0);
    EXPECT_NEAR(east.bearingDegrees + west.bearingDegrees, 360.0, 1e-6);
}

TEST(GreatCircle, DegeneratePointsGiveNoBearingInsteadOfAnError)
{
    // Identical points: the cosine is 1 and the formula divides by zero.
    for (float lat : {0.f, 41.71f, -89.9f, 90.f}) {
        const BearingDistance same = GreatCircle::compute(lat, 72.73f, lat, 72.73f);
        EXPECT_FALSE(same.hasBearing) << lat;
        EXPECT_TRUE(same.bearingText.isEmpty()) << lat;
        EXPECT_TRUE(same.distanceText.isEmpty()) << lat;
    }
    // Antipodes: the distance is half the circumference, the direction any.
    const BearingDistance antipode = GreatCircle::compute(41.71f, 72.73f, -41.71f, -107.27f);
    EXPECT_FALSE(antipode.hasBearing);
    EXPECT_TRUE(antipode.bearingText.isEmpty());
    EXPECT_EQ(antipode.distanceText, "12,427 ");
    // Standing on a pole every direction is the same one.
    const BearingDistance pole = GreatCircle::compute(90.f, 0.f, 41.71f, 72.73f);
    EXPECT_FALSE(pole.hasBearing);
    EXPECT_NEAR(pole.distanceMiles, (90.0 - 41.71) / 57.29577951 * GreatCircle::kMilesPerRadian, 0.5);
    // Due north: the bearing's quotient reaches 1, where the formula would divide by zero.
    const BearingDistance north = GreatCircle::compute(10.f, 20.f, 10.5f, 20.f);
    ASSERT_TRUE(north.hasBearing);
    EXPECT_LT(std::min(north.bearingDegrees, 360.0 - north.bearingDegrees), 1e-3);
    EXPECT_EQ(north.bearingText, "360 ");  // equal longitudes take the 360 - A branch
    EXPECT_EQ(north.distanceText, "35 ");
    // Nothing finite to work with.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const BearingDistance& r : {GreatCircle::compute(nan, 0, 0, 0), GreatCircle::compute(0, 0, 0, inf)}) {
        EXPECT_FALSE(r.hasBearing || r.hasDistance);
        EXPECT_TRUE(r.bearingText.isEmpty() && r.distanceText.isEmpty());
    }
}

TEST(GreatCircle, FormatsWholeNumbersLikeDigitPlaceholders)
{
    struct Case {
        double value;
        bool group;
        const char* text;
    };
    const Case cases[] = {
        {0.0, false, ""},  {0.49, false, ""},    {0.5, false, "1"},     {89.5, false, "90"},
        {359.6, false, "360"}, {1234.4, false, "1234"}, {-5.5, false, "-6"}, {-0.4, false, ""},
        {0.0, true, ""},   {999.0, true, "999"}, {999.5, true, "1,000"}, {12427.3, true, "12,427"},
        {123456.0, true, "123,456"}, {1234567.0, true, "1,234,567"}, {-1234.0, true, "-1,234"},
        {std::numeric_limits<double>::quiet_NaN(), true, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GreatCircle::formatWhole(c.value, c.group), c.text) << c.value << (c.group ? " grouped" : "");
}
