#include "platform/QtOneShotTimer.h"

namespace cubwave {

QtOneShotTimer::QtOneShotTimer()
{
    timer_.setSingleShot(true);
    // Coarse timers may fire 5 % early or late; rig pauses are minimums.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // The callback may arm the timer again, so it runs from a copy.
        const std::function<void()> call = onTimeout_;
        if (call)
            call();
    });
}

void QtOneShotTimer::start(int ms, std::function<void()> onTimeout)
{
    onTimeout_ = std::move(onTimeout);
    timer_.start(std::max(0, ms));
}

void QtOneShotTimer::stop()
{
    timer_.stop();
    onTimeout_ = nullptr;
}

}  // namespace cubwave
