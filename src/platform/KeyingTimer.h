#pragma once

#include <QtGlobal>

#include <atomic>

namespace cubwave {

// The monotonic clock and the three ways of waiting out a Morse element. The waits run on the
// keying thread only; nowNs() may be read from any thread. Every wait returns false as soon as
// cancel is set, so no space can hold the program however long it was made.
class KeyingTimer {
public:
    virtual ~KeyingTimer() = default;

    virtual qint64 nowNs() = 0;
    // Called once on the keying thread before its first character.
    virtual void prepareThread() {}
    // Real-time scheduling for the keying thread where the system allows it; never while the
    // counting loop spins, which would starve everything else on that core.
    virtual void setRealtime(bool on) {}

    // "Timer": until the monotonic clock reaches deadlineNs.
    virtual bool waitUntilNs(qint64 deadlineNs, const std::atomic<bool>& cancel) = 0;
    // "Sleep": sleeps until the monotonic clock reaches deadlineNs, without polling; the caller
    // keeps deadlines whole milliseconds apart.
    virtual bool sleepUntilNs(qint64 deadlineNs, const std::atomic<bool>& cancel) = 0;
    // "Loop": a counting loop of the given number of passes.
    virtual bool spin(double passes, const std::atomic<bool>& cancel) = 0;
};

}  // namespace cubwave
