#include "export/ExportTime.h"

#include "core/LogMoment.h"

namespace cubwave {

namespace {

QString digits(int value, int width) { return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0')); }

std::optional<QString> readableHhmm(QStringView stored)
{
    const auto t = LogMoment::parseTime(stored);
    if (!t)
        return std::nullopt;
    return digits(t->hour, 2) + digits(t->minute, 2);
}

}  // namespace

QString adifTimeOn(QStringView stored)
{
    if (auto hhmm = readableHhmm(stored))
        return *hhmm;
    QString t = stored.toString();
    t.remove(QLatin1Char(' '));
    const qsizetype colon = t.indexOf(QLatin1Char(':'));
    if (colon >= 0)
        t = t.left(colon) + t.mid(colon + 1, 2);
    return t.left(4).rightJustified(4, QLatin1Char('0'));
}

QString summaryTime(QStringView stored)
{
    if (auto hhmm = readableHhmm(stored))
        return *hhmm;
    return stored.left(2).toString() + stored.mid(3, 2).toString();
}

QString adifDate(QStringView stored)
{
    const auto d = LogMoment::parseDate(stored);
    return d ? digits(d->year, 4) + digits(d->month, 2) + digits(d->day, 2) : QString();
}

QString summaryDate(QStringView stored)
{
    const auto d = LogMoment::parseDate(stored);
    if (!d)
        return stored.toString();
    return digits(d->year, 4) + QLatin1Char('-') + digits(d->month, 2) + QLatin1Char('-') + digits(d->day, 2);
}

}  // namespace cubwave
