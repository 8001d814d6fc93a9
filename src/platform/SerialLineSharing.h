#pragma once

#include <functional>

namespace cubwave {

// The CW keying line, the voice PTT line and the WinKey keyer may sit on one port. Opening one
// closes the others that could hold it: CW closes PTT; PTT closes the WinKey and CW; the WinKey
// closes CW and PTT. Each user registers how it is closed.
class SerialLineSharing {
public:
    enum class User { CwKeying, VoicePtt, WinKey };

    void setCloser(User user, std::function<void()> close);
    // Runs the closers that the rule names for a user about to open its line.
    void beforeOpening(User user) const;

private:
    std::function<void()> cw_;
    std::function<void()> ptt_;
    std::function<void()> winKey_;
};

}  // namespace cubwave
