#pragma once

namespace cubwave {

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

}  // namespace cubwave
