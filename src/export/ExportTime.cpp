#include "export/ExportTime.h"

#include "core/LogMoment.h"

namespace cubwave {

namespace {

// Writes value as width digits with leading zeros; the exports format whole logs, so no arg().
QChar* putDigits(QChar* p, int value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        p[i] = QLatin1Char(static_cast<char>('0' + value % 10));
        value /= 10;
    }
    return p + width;
}

std::optional<QString> readableHhmm(QStringView stored)
{
    const auto t = LogMoment::parseTime(stored);
    if (!t)
        return std::nullopt;
    QChar buf[4];
    putDigits(putDigits(buf, t->hour, 2), t->minute, 2);
    return QString(buf, 4);
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
    if (!d)
        return {};
    QChar buf[8];
    putDigits(putDigits(putDigits(buf, d->year, 4), d->month, 2), d->day, 2);
    return QString(buf, 8);
}

QString summaryDate(QStringView stored)
{
    const auto d = LogMoment::parseDate(stored);
    if (!d)
        return stored.toString();
    QChar buf[10];
    QChar* p = putDigits(buf, d->year, 4);
    *p++ = QLatin1Char('-');
    p = putDigits(p, d->month, 2);
    *p++ = QLatin1Char('-');
    putDigits(p, d->day, 2);
    return QString(buf, 10);
}

}  // namespace cubwave
