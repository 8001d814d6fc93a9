#pragma once

#include "platform/RigPollTimer.h"

#include <QTimer>

namespace cubwave {

// A precise QTimer: at "100 ms" polling a coarse timer's 5 % slack would let a reply's read tick
// drift into the next query.
class QtRigPollTimer final : public RigPollTimer {
public:
    QtRigPollTimer();
    void setTimeout(std::function<void()> onTimeout) override;
    void start(int intervalMs) override;
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }
    int intervalMs() const override { return timer_.interval(); }

private:
    QTimer timer_;
    std::function<void()> onTimeout_;
};

}  // namespace cubwave
