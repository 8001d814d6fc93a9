#include "core/LogMoment.h"

#include <array>
#include <limits>

namespace cubwave {

namespace {

// Splits text at sep into 2 or 3 groups of 1 to 4 digits each; returns the group count, or 0
// when the text is not of that shape.
template <size_t N>
int digitGroups(QStringView text, char16_t sep, std::array<int, N>& values, std::array<int, N>& widths)
{
    text = text.trimmed();
    int n = 0;
    int value = 0;
    int width = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == sep) {
            if (width == 0 || n == static_cast<int>(N))
                return 0;
            values[static_cast<size_t>(n)] = value;
            widths[static_cast<size_t>(n)] = width;
            ++n;
            value = 0;
            width = 0;
            continue;
        }
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9' || width == 4)
            return 0;
        value = value * 10 + (c - u'0');
        ++width;
    }
    return n;
}

// Value of the digits p[0..n), or -1 when one is not a digit.
inline int fixedDigits(const QChar* p, int n)
{
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

bool valid(const LogMoment::Date& d)
{
    return d.year >= 1 && d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= daysInMonth(d.year, d.month);
}

bool valid(const LogMoment::Time& t) { return t.hour <= 23 && t.minute <= 59 && t.second <= 59; }

// Days from 1970-01-01 in the proleptic Gregorian calendar (the well-known civil-date formula).
qint64 daysFromCivil(int y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

QString twoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

}  // namespace

std::optional<LogMoment::Date> LogMoment::parseDate(QStringView text)
{
    Date d;
    // The stored "yyyy/mm/dd" is read directly.
    const QChar* p = text.data();
    if (text.size() == 10 && p[4] == u'/' && p[7] == u'/') {
        d = {fixedDigits(p, 4), fixedDigits(p + 5, 2), fixedDigits(p + 8, 2)};
        if ((d.year | d.month | d.day) >= 0)
            return valid(d) ? std::optional(d) : std::nullopt;
    }
    std::array<int, 3> v{};
    std::array<int, 3> w{};
    if (digitGroups(text, u'/', v, w) != 3)
        return std::nullopt;
    if (w[0] == 4 && w[1] <= 2 && w[2] <= 2)
        d = {v[0], v[1], v[2]};
    else if (w[2] == 4 && w[0] <= 2 && w[1] <= 2)
        d = {v[2], v[0], v[1]};
    else
        return std::nullopt;
    return valid(d) ? std::optional(d) : std::nullopt;
}

std::optional<LogMoment::Time> LogMoment::parseTime(QStringView text)
{
    // "hh:mm:ss" and "hh:mm" are read directly.
    const QChar* p = text.data();
    if ((text.size() == 8 && p[2] == u':' && p[5] == u':') || (text.size() == 5 && p[2] == u':')) {
        const Time t{fixedDigits(p, 2), fixedDigits(p + 3, 2), text.size() == 8 ? fixedDigits(p + 6, 2) : 0};
        if ((t.hour | t.minute | t.second) >= 0)
            return valid(t) ? std::optional(t) : std::nullopt;
    }
    std::array<int, 3> v{};
    std::array<int, 3> w{};
    const int n = digitGroups(text, u':', v, w);
    if (n < 2 || w[0] > 2 || w[1] > 2 || (n == 3 && w[2] > 2))
        return std::nullopt;
    const Time t{v[0], v[1], n == 3 ? v[2] : 0};
    return valid(t) ? std::optional(t) : std::nullopt;
}

qint64 LogMoment::dayNumberOr(QStringView date, qint64 unreadable)
{
    const auto d = parseDate(date);
    return d ? daysFromCivil(d->year, d->month, d->day) : unreadable;
}

int LogMoment::secondOfDayOr(QStringView time, int unreadable)
{
    const QChar* p = time.data();
    if ((time.size() == 8 && p[2] == u':' && p[5] == u':') || (time.size() == 5 && p[2] == u':')) {
        const int hour = fixedDigits(p, 2);
        const int minute = fixedDigits(p + 3, 2);
        const int second = time.size() == 8 ? fixedDigits(p + 6, 2) : 0;
        if ((hour | minute | second) >= 0)
            return valid(Time{hour, minute, second}) ? hour * 3600 + minute * 60 + second : unreadable;
    }
    const auto t = parseTime(time);
    return t ? t->hour * 3600 + t->minute * 60 + t->second : unreadable;
}

std::optional<qint64> LogMoment::seconds(QStringView date, QStringView time)
{
    constexpr qint64 kNoDay = std::numeric_limits<qint64>::min();
    const qint64 day = dayNumberOr(date, kNoDay);
    const int second = secondOfDayOr(time, -1);
    if (day == kNoDay || second < 0)
        return std::nullopt;
    return day * 86400 + second;
}

qint64 LogMoment::seconds(const QDateTime& wallClock)
{
    const QDate d = wallClock.date();
    const QTime t = wallClock.time();
    return daysFromCivil(d.year(), d.month(), d.day()) * 86400 + t.hour() * 3600 + t.minute() * 60 + t.second();
}

QString LogMoment::listText(QStringView date, QStringView time)
{
    QString out;
    if (const auto d = parseDate(date))
        out = twoDigits(d->month) + u'/' + twoDigits(d->day);
    else
        out = date.toString();
    out += u' ';
    if (const auto t = parseTime(time))
        out += twoDigits(t->hour) + u':' + twoDigits(t->minute);
    else
        out += time;
    return out;
}

}  // namespace cubwave
