#pragma once

#include "platform/RigPollTimer.h"

namespace cubwave::test {

// A poll timer the test fires by hand.
class FakeRigPollTimer final : public RigPollTimer {
public:
    void setTimeout(std::function<void()> onTimeout) override { onTimeout_ = std::move(onTimeout); }
    void start(int intervalMs) override
    {
        interval_ = intervalMs;
        active_ = true;
        ++starts;
    }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }
    int intervalMs() const override { return interval_; }

    // One timeout, as the real timer would give while active.
    void fire()
    {
        if (active_ && onTimeout_)
            onTimeout_();
    }

    int starts = 0;

private:
    std::function<void()> onTimeout_;
    bool active_ = false;
    int interval_ = 0;
};

}  // namespace cubwave::test
