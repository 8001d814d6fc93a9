#include "export/AdifPower.h"

namespace cubwave {

namespace {

// ADIF's Number without a sign: digits with at most one decimal point, at least one digit.
bool isUnsignedNumber(QStringView text)
{
    int digits = 0;
    int points = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('.'))
            ++points;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digits;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

}  // namespace

AdifPower AdifPower::fromTyped(const QString& typed)
{
    QStringView text = QStringView(typed).trimmed();
    for (const QLatin1String unit : {QLatin1String("watts"), QLatin1String("watt"), QLatin1String("w")}) {
        if (text.endsWith(unit, Qt::CaseInsensitive)) {
            text = text.chopped(unit.size()).trimmed();
            break;
        }
    }
    if (text.isEmpty())
        return {QString(), !QStringView(typed).trimmed().isEmpty()};
    if (!isUnsignedNumber(text))
        return {QString(), true};
    return {text.toString(), false};
}

}  // namespace cubwave
