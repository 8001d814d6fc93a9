#include "core/OperatingClock.h"

#include <gtest/gtest.h>

using namespace cubwave;

TEST(OperatingClock, AddsTheRunningTimeToTheAccumulatedTime)
{
    const QDateTime on(QDate(2026, 6, 13), QTime(10, 0, 0), Qt::UTC);
    OperatingClock clock;
    clock.setAccumulatedSeconds(100);
    EXPECT_EQ(clock.elapsedSeconds(on.addSecs(50)), 100.0f);  // stopped: only the saved time
    clock.start(on);
    EXPECT_EQ(clock.elapsedSeconds(on.addSecs(50)), 150.0f);
    clock.stop(on.addSecs(60));
    EXPECT_FALSE(clock.running());
    EXPECT_EQ(clock.accumulatedSeconds(), 160.0f);
}

TEST(OperatingClock, DisplayKeepsTwoDigitsPerPart)
{
    const std::pair<float, const char*> cases[] = {
        {0, "00:00:00"}, {59, "00:00:59"}, {3661, "01:01:01"}, {36000, "10:00:00"}, {360000 + 59, "00:00:59"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(OperatingClock::display(seconds), text) << seconds;
}
