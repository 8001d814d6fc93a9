#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>

namespace cubwave {

class SystemClock final : public Clock {
public:
    SystemClock();
    QDateTime localNow() const override;
    QDateTime utcNow() const override;
    qint64 ticksMs() const override;
    void sleepMs(int ms) override;

private:
    QElapsedTimer started_;
};

}  // namespace cubwave
