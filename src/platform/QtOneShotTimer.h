#pragma once

#include "platform/OneShotTimer.h"

#include <QTimer>

namespace cubwave {

// A single-shot QTimer of millisecond precision.
class QtOneShotTimer final : public OneShotTimer {
public:
    QtOneShotTimer();
    void start(int ms, std::function<void()> onTimeout) override;
    void stop() override;
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
    std::function<void()> onTimeout_;
};

}  // namespace cubwave
