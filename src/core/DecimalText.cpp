#include "core/DecimalText.h"

#include <charconv>
#include <cmath>

namespace cubwave {

namespace {

template <typename T>
QString fixedShortest(T value)
{
    if (!std::isfinite(value) || value == T(0))
        return QStringLiteral("0");
    // Fixed notation without a precision is the shortest round-trip form that has no exponent.
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    return QString::fromLatin1(buf, static_cast<qsizetype>(res.ptr - buf));
}

}  // namespace

std::optional<double> DecimalText::parse(QStringView text)
{
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (c == u'.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    bool ok = false;
    const double value = t.toDouble(&ok);  // C locale: "." only, which is what was checked
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString DecimalText::shortest(double value) { return fixedShortest(value); }

QString DecimalText::shortest(float value) { return fixedShortest(value); }

}  // namespace cubwave
