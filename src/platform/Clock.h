#pragma once

#include <QDateTime>

namespace cubwave {

// The wall clocks and the sleep, behind one interface so tests can advance time by hand.
// localNow() is the computer's local wall clock as a naive date-time (its time spec is UTC so that
// adding minutes never jumps at a daylight-saving change; the operator's own offset makes it UTC).
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime localNow() const = 0;
    virtual QDateTime utcNow() const = 0;
    // Milliseconds since an arbitrary start; only differences mean anything.
    virtual qint64 ticksMs() const = 0;
    virtual void sleepMs(int ms) = 0;
};

}  // namespace cubwave
