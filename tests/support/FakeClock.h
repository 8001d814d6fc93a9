#pragma once

#include "platform/Clock.h"

namespace cubwave::test {

// Time stands still until a test moves it; sleeping moves it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime local = QDateTime(QDate(2026, 6, 13), QTime(14, 5, 33), Qt::UTC))
        : local_(std::move(local)) {}

    QDateTime localNow() const override { return local_; }
    QDateTime utcNow() const override { return local_.addSecs(utcShiftSecs_); }
    qint64 ticksMs() const override { return ticks_; }
    void sleepMs(int ms) override { advanceMs(ms); }

    void setLocal(const QDateTime& local) { local_ = local; }
    void setUtcShiftSecs(qint64 secs) { utcShiftSecs_ = secs; }
    void advanceMs(qint64 ms)
    {
        ticks_ += ms;
        local_ = local_.addMSecs(ms);
    }

private:
    QDateTime local_;
    qint64 utcShiftSecs_ = 0;
    qint64 ticks_ = 0;
};

}  // namespace cubwave::test
