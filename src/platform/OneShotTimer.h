#pragma once

#include <functional>

namespace cubwave {

// A timer on the window thread that calls back once. What waits for a rig, a keyer or a peer
// waits on one of these instead of holding the thread, so tests can fire it by hand.
class OneShotTimer {
public:
    virtual ~OneShotTimer() = default;
    // Calls onTimeout once, no sooner than ms from now; a call already armed is replaced.
    virtual void start(int ms, std::function<void()> onTimeout) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

}  // namespace cubwave
