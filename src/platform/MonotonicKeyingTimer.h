#pragma once

#include "platform/KeyingTimer.h"

namespace cubwave {

// CLOCK_MONOTONIC with clock_nanosleep to an absolute deadline, then a short busy tail that
// absorbs the wake-up latency; timer slack of 1 ns on the keying thread.
class MonotonicKeyingTimer final : public KeyingTimer {
public:
    // Woken this long before a deadline, the rest is polled. A sleeping thread wakes some tens
    // of microseconds late, but on a virtual machine one wake-up in a hundred is over a
    // millisecond late even at real-time priority; a polling one is on time within a clock
    // read. About 1.5 % of a core at 35 WPM.
    static constexpr qint64 kBusyTailNs = 1'000'000;
    // Longest single sleep, so a cancel is seen this quickly.
    static constexpr qint64 kSliceNs = 20'000'000;

    qint64 nowNs() override;
    void prepareThread() override;
    void setRealtime(bool on) override;
    bool waitUntilNs(qint64 deadlineNs, const std::atomic<bool>& cancel) override;
    bool sleepUntilNs(qint64 deadlineNs, const std::atomic<bool>& cancel) override;
    bool spin(double passes, const std::atomic<bool>& cancel) override;

private:
    bool realtime_ = false;
    bool refused_ = false;
};

}  // namespace cubwave
