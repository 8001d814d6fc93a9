#include "platform/SerialLineSharing.h"

namespace cubwave {

void SerialLineSharing::setCloser(User user, std::function<void()> close)
{
    switch (user) {
    case User::CwKeying: cw_ = std::move(close); break;
    case User::VoicePtt: ptt_ = std::move(close); break;
    case User::WinKey: winKey_ = std::move(close); break;
    }
}

void SerialLineSharing::beforeOpening(User user) const
{
    const auto run = [](const std::function<void()>& close) {
        if (close)
            close();
    };
    switch (user) {
    case User::CwKeying:
        run(ptt_);
        break;
    case User::VoicePtt:
        run(winKey_);
        run(cw_);
        break;
    case User::WinKey:
        run(cw_);
        run(ptt_);
        break;
    }
}

}  // namespace cubwave
