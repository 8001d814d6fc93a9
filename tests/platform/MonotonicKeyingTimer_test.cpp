#include "platform/MonotonicKeyingTimer.h"

#include <gtest/gtest.h>

#include <thread>

namespace cubwave {
namespace {

// How precisely the timer keeps time is measured by bench/cw_bench; these check that every wait
// ends when cancelled, so no element can hold the keying thread.
TEST(MonotonicKeyingTimer, EveryWaitEndsWhenCancelled)
{
    MonotonicKeyingTimer timer;
    std::atomic<bool> cancel{false};
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        cancel = true;
    });
    const qint64 start = timer.nowNs();
    EXPECT_FALSE(timer.waitUntilNs(start + 3600'000'000'000LL, cancel));
    canceller.join();
    EXPECT_FALSE(timer.sleepUntilNs(timer.nowNs() + 3600'000'000'000LL, cancel));
    EXPECT_FALSE(timer.spin(1e18, cancel));
    EXPECT_LT(timer.nowNs() - start, 30'000'000'000LL);
}

TEST(MonotonicKeyingTimer, WaitsReachTheirEnd)
{
    MonotonicKeyingTimer timer;
    timer.prepareThread();
    const std::atomic<bool> never{false};
    const qint64 start = timer.nowNs();
    EXPECT_TRUE(timer.waitUntilNs(start + 2'000'000, never));
    EXPECT_GE(timer.nowNs(), start + 2'000'000);
    const qint64 afterWait = timer.nowNs();
    EXPECT_TRUE(timer.sleepUntilNs(afterWait + 3'000'000, never));
    EXPECT_GE(timer.nowNs(), afterWait + 3'000'000);
    EXPECT_TRUE(timer.spin(1000, never));
    EXPECT_TRUE(timer.waitUntilNs(start, never));  // a deadline already past returns at once
}

}  // namespace
}  // namespace cubwave
