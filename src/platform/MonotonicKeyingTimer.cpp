#include "platform/MonotonicKeyingTimer.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>

namespace cubwave {

namespace {

timespec toTimespec(qint64 ns)
{
    timespec ts;
    ts.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    ts.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    return ts;
}

}  // namespace

qint64 MonotonicKeyingTimer::nowNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<qint64>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

void MonotonicKeyingTimer::prepareThread()
{
    // The default 50 us slack lets the kernel wake a sleeper late to batch timers.
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
}

void MonotonicKeyingTimer::setRealtime(bool on)
{
    if (on == realtime_ || (on && refused_))
        return;
    sched_param param{};
    param.sched_priority = on ? std::max(1, sched_get_priority_min(SCHED_FIFO)) : 0;
    // Refused without the right to it; timing is then merely less robust against load. Not
    // asked again: this is called before every element, and the answer will not change.
    if (pthread_setschedparam(pthread_self(), on ? SCHED_FIFO : SCHED_OTHER, &param) == 0)
        realtime_ = on;
    else if (on)
        refused_ = true;
}

bool MonotonicKeyingTimer::sleepUntilNs(qint64 deadlineNs, const std::atomic<bool>& cancel)
{
    while (true) {
        if (cancel.load(std::memory_order_relaxed))
            return false;
        const qint64 now = nowNs();
        if (now >= deadlineNs)
            return true;
        const timespec ts = toTimespec(std::min(deadlineNs, now + kSliceNs));
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
        }
    }
}

bool MonotonicKeyingTimer::waitUntilNs(qint64 deadlineNs, const std::atomic<bool>& cancel)
{
    if (!sleepUntilNs(deadlineNs - kBusyTailNs, cancel))
        return false;
    while (nowNs() < deadlineNs) {
        if (cancel.load(std::memory_order_relaxed))
            return false;
    }
    return true;
}

bool MonotonicKeyingTimer::spin(double passes, const std::atomic<bool>& cancel)
{
    // volatile: an optimiser would otherwise remove the empty loop and the calibration with it.
    volatile double counter = 0;
    while (counter < passes) {
        counter = counter + 1;
        if ((static_cast<qint64>(counter) & 0xffff) == 0 && cancel.load(std::memory_order_relaxed))
            return false;
    }
    return true;
}

}  // namespace cubwave
