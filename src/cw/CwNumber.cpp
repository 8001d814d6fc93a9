#include "cw/CwNumber.h"

#include "core/DecimalText.h"

#include <cfenv>
#include <cmath>

namespace cubwave {

std::optional<double> CwNumber::parse(QStringView text) { return DecimalText::parse(text); }

std::optional<quint16> CwNumber::parseAddress(QStringView text)
{
    const QStringView t = text.trimmed();
    const bool hex = t.startsWith(u"&H", Qt::CaseInsensitive);
    const QStringView digits = hex ? t.mid(2) : t;
    const int base = hex ? 16 : 10;
    if (digits.isEmpty() || digits.size() > (hex ? 4 : 5))
        return std::nullopt;
    // Digit by digit: the library's conversion stops at a NUL and takes a "0x" or a sign, so
    // "&H37<NUL>8" would pass as &H37.
    uint value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        int digit = base;  // not a digit
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        if (digit >= base)
            return std::nullopt;
        value = value * base + static_cast<uint>(digit);
    }
    if (value == 0 || value > 0xffff)
        return std::nullopt;
    return static_cast<quint16>(value);
}

double CwNumber::roundHalfEven(double value)
{
    // nearbyint follows the rounding mode, which is to-nearest-even unless someone changed it.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(saved);
    return r;
}

}  // namespace cubwave
