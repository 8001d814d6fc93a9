#pragma once

#include <QDateTime>
#include <QString>

namespace cubwave {

// The operating-time clock: accumulated seconds from earlier sessions plus the time since it
// was last started.
class OperatingClock {
public:
    bool running() const { return running_; }
    float accumulatedSeconds() const { return accumulated_; }
    void setAccumulatedSeconds(float seconds) { accumulated_ = seconds; }

    void start(const QDateTime& now);
    // Stops and keeps the elapsed time as the accumulated time.
    void stop(const QDateTime& now);
    float elapsedSeconds(const QDateTime& now) const;

    // "hh:mm:ss": values below 10 with a leading zero, others as their last two digits.
    static QString display(float elapsedSeconds);

private:
    bool running_ = false;
    QDateTime onTime_;
    float accumulated_ = 0;
};

}  // namespace cubwave
