#include "station/ClockTexts.h"

#include <cmath>

namespace cubwave {

QString utcClockText(const QTime& localTime, float utcOffsetHours)
{
    // Only the time of day is shown, so whole days of offset drop out; taking them off first
    // keeps any stored value, however large, clear of integer overflow.
    double minutes = std::round(static_cast<double>(utcOffsetHours) * 60.0);
    minutes = std::isfinite(minutes) ? std::fmod(minutes, 24.0 * 60.0) : 0.0;
    const QTime utc = localTime.addSecs(static_cast<int>(minutes) * 60);
    if (!utc.isValid())
        return {};
    // Written digit by digit: the band maps make one for every spot they show at each repaint.
    const auto digit = [](int n) { return QChar(u'0' + n); };
    const QChar text[] = {digit(utc.hour() / 10),   digit(utc.hour() % 10),   u':',
                          digit(utc.minute() / 10), digit(utc.minute() % 10), u':',
                          digit(utc.second() / 10), digit(utc.second() % 10)};
    return QString(text, 8);
}

QString localClockText(const QTime& localTime)
{
    const int hour12 = localTime.hour() % 12 == 0 ? 12 : localTime.hour() % 12;
    return QString::number(hour12) + localTime.toString(QStringLiteral(":mm:ss"));
}

QString amPmText(const QTime& localTime)
{
    return localTime.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
}

}  // namespace cubwave
