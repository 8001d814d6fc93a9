#include "core/OperatingClock.h"

#include <cmath>

namespace cubwave {

void OperatingClock::start(const QDateTime& now)
{
    onTime_ = now;
    running_ = true;
}

void OperatingClock::stop(const QDateTime& now)
{
    if (!running_)
        return;
    accumulated_ = elapsedSeconds(now);
    running_ = false;
}

float OperatingClock::elapsedSeconds(const QDateTime& now) const
{
    if (!running_)
        return accumulated_;
    return std::fabs(accumulated_ + static_cast<float>(onTime_.secsTo(now)));
}

QString OperatingClock::display(float elapsedSeconds)
{
    const double elapsed = std::fabs(static_cast<double>(elapsedSeconds));
    const long long hours = static_cast<long long>(std::floor(elapsed / 3600));
    const long long minutes = static_cast<long long>(std::floor(elapsed / 60)) - hours * 60;
    const long long seconds = static_cast<long long>(elapsed - std::floor(elapsed / 60) * 60);
    const auto two = [](long long v) {
        const QString text = QString::number(v);
        return v < 10 ? QLatin1Char('0') + text : text.right(2);
    };
    return two(hours) + QLatin1Char(':') + two(minutes) + QLatin1Char(':') + two(seconds);
}

}  // namespace cubwave
