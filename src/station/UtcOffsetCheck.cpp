#include "station/UtcOffsetCheck.h"

#include "station/NumericText.h"

#include <cmath>

namespace cubwave {

namespace {

QDateTime wallClock(const QDateTime& t) { return QDateTime(t.date(), t.time(), Qt::UTC); }

}  // namespace

UtcOffsetCheck::UtcOffsetCheck(const QDateTime& systemUtc, const QDateTime& systemLocal, float storedOffsetHours)
    : utc_(wallClock(systemUtc)), local_(wallClock(systemLocal)), stored_(storedOffsetHours)
{
    const double minutes = std::round(static_cast<double>(local_.msecsTo(utc_)) / 60000.0);
    recommended_ = static_cast<float>(std::round(minutes / 60.0 * 100.0) / 100.0);
}

QString UtcOffsetCheck::title() { return QStringLiteral("Update the Local Time / UTC Offset?"); }

QString UtcOffsetCheck::prompt() const
{
    const QString gap = QStringLiteral("\r\n\r\n");
    return QStringLiteral("Would you like to adjust the UTC offset in this program for your local time setting?") + gap +
           QStringLiteral("Current System Time: ") + utc_.toString(QStringLiteral("HH:mm")) + gap +
           QStringLiteral("Current Local Time: ") + local_.toString(QStringLiteral("HH:mm")) + gap +
           QStringLiteral("Recommended Offset Setting: ") + NumericText::shortest(recommended_) + gap +
           QStringLiteral("Current Offset Setting: ") + NumericText::shortest(stored_) + gap +
           QStringLiteral("Please click OK to accept the recommended change or Cancel to keep the current setting.");
}

QString UtcOffsetCheck::defaultAnswer() const { return NumericText::shortest(recommended_); }

std::optional<float> UtcOffsetCheck::answeredOffset(const std::optional<QString>& answer) const
{
    if (!answer)
        return std::nullopt;
    return parseOffset(*answer);
}

std::optional<float> UtcOffsetCheck::parseOffset(QStringView text)
{
    const std::optional<double> value = NumericText::parse(text);
    if (!value || std::fabs(*value) > kMaxOffsetHours)
        return std::nullopt;
    return static_cast<float>(*value);
}

}  // namespace cubwave
