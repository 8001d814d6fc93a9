#include "rig/FrequencyHz.h"

#include <cmath>
#include <cstdlib>

namespace cubwave {

std::optional<qint64> FrequencyHz::fromMHz(float mhz)
{
    // VB-style Round: the single's value times 10^6 in double, halves to the even hertz.
    const double hz = std::nearbyint(double(mhz) * 1e6);
    if (!std::isfinite(hz) || std::abs(hz) > double(kLimitHz))
        return std::nullopt;
    return qint64(hz);
}

std::optional<qint64> FrequencyHz::parseMHz(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text[0] == u'+' || text[0] == u'-')) {
        negative = text[0] == u'-';
        text = text.sliced(1);
    }
    qint64 mhz = 0;
    int integerDigits = 0;
    qint64 microHz = 0;  // the first six fraction digits, i.e. hertz
    int fractionDigits = 0;
    int roundDigit = -1;      // the seventh fraction digit
    bool beyondHalf = false;  // a non-zero digit after the seventh
    bool point = false;
    for (const QChar c : text) {
        if (c == u'.') {
            if (point)
                return std::nullopt;
            point = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (!point) {
            if (++integerDigits > 18 || (mhz = mhz * 10 + digit) > kLimitHz / 1'000'000)
                return std::nullopt;
        } else if (fractionDigits < 6) {
            microHz = microHz * 10 + digit;
            ++fractionDigits;
        } else if (roundDigit < 0) {
            roundDigit = digit;
        } else {
            beyondHalf = beyondHalf || digit != 0;
        }
    }
    if (integerDigits == 0 && fractionDigits == 0)
        return std::nullopt;
    for (int i = fractionDigits; i < 6; ++i)
        microHz *= 10;
    qint64 hz = mhz * 1'000'000 + microHz;
    if (roundDigit > 5 || (roundDigit == 5 && (beyondHalf || hz % 2 != 0)))
        ++hz;
    if (hz > kLimitHz)
        return std::nullopt;
    return negative ? -hz : hz;
}

QString FrequencyHz::toMHzText(qint64 hz)
{
    const bool negative = hz < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(hz) : quint64(hz);
    QString text = QString::number(magnitude / 1'000'000);
    if (const quint64 fraction = magnitude % 1'000'000) {
        QString digits = QString::number(fraction).rightJustified(6, u'0');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += u'.' + digits;
    }
    return negative ? u'-' + text : text;
}

qint64 FrequencyHz::roundedSteps(qint64 hz, qint64 divisor)
{
    qint64 steps = hz / divisor;
    const qint64 twiceRest = 2 * std::abs(hz % divisor);
    if (twiceRest > divisor || (twiceRest == divisor && steps % 2 != 0))
        steps += hz < 0 ? -1 : 1;
    return steps;
}

}  // namespace cubwave
