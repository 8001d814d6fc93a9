#pragma once

namespace cubwave {

// The hourglass for as long as the guard lives: whichever way a long step ends (an early
// return, an exception), the pointer the operator had comes back.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace cubwave
