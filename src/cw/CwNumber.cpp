#include "cw/CwNumber.h"

#include "core/DecimalText.h"

#include <cfenv>
#include <cmath>

namespace cubwave {

std::optional<double> CwNumber::parse(QStringView text) { return DecimalText::parse(text); }

std::optional<quint16> CwNumber::parseAddress(QStringView text)
{
    const QStringView t = text.trimmed();
    bool ok = false;
    uint value = 0;
    if (t.startsWith(u"&H", Qt::CaseInsensitive)) {
        const QStringView hex = t.mid(2);
        if (hex.isEmpty() || hex.size() > 4)
            return std::nullopt;
        value = hex.toUInt(&ok, 16);
    } else {
        if (t.isEmpty() || t.size() > 5)
            return std::nullopt;
        for (QChar c : t) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
        }
        value = t.toUInt(&ok, 10);
    }
    if (!ok || value == 0 || value > 0xffff)
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
