#pragma once

#include "platform/OneShotTimer.h"
#include "support/FakeClock.h"

#include <algorithm>

namespace cubwave::test {

// A timer the test fires by hand; run() plays it out on a fake clock, as the event loop would.
class FakeOneShotTimer final : public OneShotTimer {
public:
    void start(int ms, std::function<void()> onTimeout) override
    {
        intervalMs = ms;
        onTimeout_ = std::move(onTimeout);
        ++starts;
    }
    void stop() override { onTimeout_ = nullptr; }
    bool isActive() const override { return bool(onTimeout_); }

    // Moves the clock on by the interval and calls back.
    void fire(FakeClock& clock)
    {
        const std::function<void()> call = std::exchange(onTimeout_, nullptr);
        clock.advanceMs(earlyByMs > 0 ? std::max(1, intervalMs - earlyByMs) : intervalMs);
        if (call)
            call();
    }
    // Fires until nothing is armed; false when that took more than maxFirings.
    bool run(FakeClock& clock, int maxFirings = 100000)
    {
        for (int i = 0; isActive(); ++i) {
            if (i >= maxFirings)
                return false;
            fire(clock);
        }
        return true;
    }

    int intervalMs = 0;
    int starts = 0;
    // Fires this much before its time, as a coarse system timer may.
    int earlyByMs = 0;

private:
    std::function<void()> onTimeout_;
};

}  // namespace cubwave::test
