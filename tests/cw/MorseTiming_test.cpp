#include "cw/MorseTiming.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace cubwave {
namespace {

TEST(MorseTiming, UnitIsTwelveHundredOverSpeed)
{
    EXPECT_NEAR(*MorseTiming::unitMs(13), 92.3077, 1e-4);
    EXPECT_DOUBLE_EQ(*MorseTiming::unitMs(20), 60);
    EXPECT_DOUBLE_EQ(*MorseTiming::unitMs(QStringLiteral("32")), 37.5);
}

TEST(MorseTiming, NoUnitForSpeedsThatAreNotPositiveNumbers)
{
    for (double wpm : {0.0, -1.0, -13.0, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(MorseTiming::unitMs(wpm)) << wpm;
    for (const char* text : {"", "abc", "13:", "0", "-2", "1e3"})
        EXPECT_FALSE(MorseTiming::unitMs(QString::fromLatin1(text))) << text;
}

TEST(MorseTiming, SleepRoundsHalvesToEven)
{
    struct {
        double wpm;
        qint64 ms;
    } cases[] = {{13, 92}, {32, 38}, {20, 60}, {48, 25}, {16, 75}, {96, 12}, {480, 2}, {800, 2}};
    // 48 WPM: 25 exactly; 96: 12.5 -> 12; 480: 2.5 -> 2; 800: 1.5 -> 2.
    for (const auto& c : cases)
        EXPECT_EQ(MorseTiming::sleepMsPerUnit(*MorseTiming::unitMs(c.wpm)), c.ms) << c.wpm;
}

TEST(MorseTiming, LoopPassesScaleWithSpeed)
{
    EXPECT_EQ(MorseTiming::loopPassesPerUnit(1000, 20), 1000);
    EXPECT_EQ(MorseTiming::loopPassesPerUnit(1000, 40), 500);
    EXPECT_EQ(MorseTiming::loopPassesPerUnit(1000, 13), std::ceil(1000 * 20 / 13.0));
    EXPECT_EQ(MorseTiming::loopPassesPerUnit(0, 20), 0);
}

TEST(MorseTiming, CalibrationInMicrosecondsNeverDividesByZero)
{
    EXPECT_EQ(MorseTiming::calibratedLoopOffset(10'000), 30'000'000);   // 5e6 passes in 10 ms
    EXPECT_EQ(MorseTiming::calibratedLoopOffset(600'000), 500'000);
    EXPECT_EQ(MorseTiming::calibratedLoopOffset(700), 428'571'429);       // sub-millisecond measured
    EXPECT_EQ(MorseTiming::calibratedLoopOffset(0), MorseTiming::calibratedLoopOffset(1));
    EXPECT_TRUE(std::isfinite(MorseTiming::calibratedLoopOffset(-5)));
}

TEST(MorseTiming, FasterAndSlowerRoundHalvesToEven)
{
    EXPECT_EQ(MorseTiming::loopFaster(1000), 900);
    EXPECT_EQ(MorseTiming::loopFaster(25), 22);   // 22.5 -> 22
    EXPECT_EQ(MorseTiming::loopFaster(35), 32);   // 31.5 -> 32
    EXPECT_EQ(MorseTiming::loopSlower(900), 1000);
    EXPECT_EQ(MorseTiming::loopSlower(0), 0);
}

TEST(MorseTiming, MethodNames)
{
    for (TimingMethod m : {TimingMethod::Timer, TimingMethod::Loop, TimingMethod::Sleep})
        EXPECT_EQ(MorseTiming::methodFromName(MorseTiming::methodName(m)), m);
    EXPECT_EQ(MorseTiming::methodFromName(QStringLiteral("loop")), TimingMethod::Timer);
    EXPECT_EQ(MorseTiming::methodFromName(QString()), TimingMethod::Timer);
}

}  // namespace
}  // namespace cubwave
