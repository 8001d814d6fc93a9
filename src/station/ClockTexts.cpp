#include "station/ClockTexts.h"

#include <cmath>

namespace cubwave {

bool utcClockChars(const QTime& localTime, float utcOffsetHours, char (&text)[8])
{
    // Only the time of day is shown, so whole days of offset drop out; taking them off first
    // keeps any stored value, however large, clear of integer overflow.
    double minutes = std::round(static_cast<double>(utcOffsetHours) * 60.0);
    minutes = std::isfinite(minutes) ? std::fmod(minutes, 24.0 * 60.0) : 0.0;
    const QTime utc = localTime.addSecs(static_cast<int>(minutes) * 60);
    if (!utc.isValid())
        return false;
    // Written out by hand: the band maps put this into every spot's tooltip at each repaint, and
    // the general time formatter costs several times as much.
    const int parts[3] = {utc.hour(), utc.minute(), utc.second()};
    for (int i = 0; i < 3; ++i) {
        text[3 * i] = char('0' + parts[i] / 10);
        text[3 * i + 1] = char('0' + parts[i] % 10);
        if (i < 2)
            text[3 * i + 2] = ':';
    }
    return true;
}

QString utcClockText(const QTime& localTime, float utcOffsetHours)
{
    char text[8];
    return utcClockChars(localTime, utcOffsetHours, text) ? QString::fromLatin1(text, 8) : QString();
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
