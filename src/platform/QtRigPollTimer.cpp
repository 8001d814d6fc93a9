#include "platform/QtRigPollTimer.h"

namespace cubwave {

QtRigPollTimer::QtRigPollTimer()
{
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (onTimeout_)
            onTimeout_();
    });
}

void QtRigPollTimer::setTimeout(std::function<void()> onTimeout) { onTimeout_ = std::move(onTimeout); }

void QtRigPollTimer::start(int intervalMs) { timer_.start(intervalMs); }

}  // namespace cubwave
