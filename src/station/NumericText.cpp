#include "station/NumericText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace cubwave {

std::optional<double> NumericText::parse(QStringView text)
{
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            ++digits;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    bool ok = false;
    const double value = t.toDouble(&ok);  // C locale: "." only, which is what was checked
    if (!ok || !std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return value;
}

QString NumericText::shortest(float value)
{
    if (!std::isfinite(value) || value == 0.f)
        return QStringLiteral("0");
    // Fixed notation without a precision is the shortest round-trip form that has no exponent.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    return QString::fromLatin1(buf, static_cast<qsizetype>(res.ptr - buf));
}

}  // namespace cubwave
