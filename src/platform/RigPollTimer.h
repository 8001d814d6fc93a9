#pragma once

#include <functional>

namespace cubwave {

// The rig poll's repeating timer: fires every interval on the window thread until stopped.
class RigPollTimer {
public:
    virtual ~RigPollTimer() = default;
    virtual void setTimeout(std::function<void()> onTimeout) = 0;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int intervalMs() const = 0;
};

}  // namespace cubwave
