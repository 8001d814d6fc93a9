#include "core/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <string>

namespace cubwave {

namespace {

// A non-negative decimal number: digits without leading zeros, and how many of them stand
// before the decimal point (may be zero, negative, or beyond the digits).
struct Decimal {
    std::string digits;
    int pointPos = 0;
};

// digits and exponent of a shortest round-trip scientific text such as "-7.02e+00".
Decimal decimalFromScientific(const char* begin, const char* end)
{
    Decimal d;
    const char* p = begin;
    if (p != end && *p == '-')
        ++p;
    int exponent = 0;
    for (; p != end; ++p) {
        if (*p >= '0' && *p <= '9') {
            d.digits.push_back(*p);
        } else if (*p == 'e') {
            std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
            break;
        }
    }
    d.pointPos = exponent + 1;
    const size_t firstNonZero = d.digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        return {};
    return d;
}

// Keeps `decimals` fraction digits, rounding half away from zero.
void roundTo(Decimal& d, int decimals)
{
    const long keep = static_cast<long>(d.pointPos) + decimals;
    if (keep >= static_cast<long>(d.digits.size()))
        return;
    if (keep < 0) {
        d = {};
        return;
    }
    const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
    d.digits.resize(static_cast<size_t>(keep));
    if (!up)
        return;
    int i = static_cast<int>(keep) - 1;
    while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9')
        d.digits[static_cast<size_t>(i--)] = '0';
    if (i >= 0) {
        ++d.digits[static_cast<size_t>(i)];
    } else {
        d.digits.insert(d.digits.begin(), '1');
        ++d.pointPos;
    }
}

struct Pattern {
    QString prefix;
    QString suffix;
    int minIntDigits = 0;  // placeholders from the first integer "0" to the point
    bool grouping = false;
    bool hasPoint = false;
    int minFracDigits = 0;  // up to the last fraction "0"
    int maxFracDigits = 0;
};

bool isPlaceholder(QChar c) { return c == u'#' || c == u'0'; }

Pattern parsePattern(QStringView text)
{
    Pattern p;
    qsizetype first = 0;
    while (first < text.size() && !isPlaceholder(text[first]) && text[first] != u'.')
        ++first;
    qsizetype last = text.size();
    while (last > first && !isPlaceholder(text[last - 1]) && text[last - 1] != u'.')
        --last;
    p.prefix = text.first(first).toString();
    p.suffix = text.sliced(last).toString();

    bool inFraction = false;
    bool seenIntZero = false;
    int fracPlaceholders = 0;
    for (const QChar c : text.sliced(first, last - first)) {
        if (c == u'.') {
            inFraction = true;
            p.hasPoint = true;
        } else if (c == u',') {
            if (!inFraction)
                p.grouping = true;
        } else if (isPlaceholder(c)) {
            if (inFraction) {
                ++fracPlaceholders;
                if (c == u'0')
                    p.minFracDigits = fracPlaceholders;
            } else {
                seenIntZero = seenIntZero || c == u'0';
                if (seenIntZero)
                    ++p.minIntDigits;
            }
        }
    }
    p.maxFracDigits = fracPlaceholders;
    return p;
}

QString render(bool negative, Decimal d, const Pattern& p)
{
    roundTo(d, p.maxFracDigits);

    std::string integer;
    for (int i = 0; i < d.pointPos; ++i)
        integer.push_back(i < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(i)] : '0');
    if (static_cast<int>(integer.size()) < p.minIntDigits)
        integer.insert(0, static_cast<size_t>(p.minIntDigits) - integer.size(), '0');

    std::string fraction;
    for (int i = 0; i < p.maxFracDigits; ++i) {
        const int at = d.pointPos + i;
        fraction.push_back(at >= 0 && at < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(at)] : '0');
    }
    while (static_cast<int>(fraction.size()) > p.minFracDigits && fraction.back() == '0')
        fraction.pop_back();

    if (p.grouping) {
        for (int at = static_cast<int>(integer.size()) - 3; at > 0; at -= 3)
            integer.insert(static_cast<size_t>(at), 1, ',');
    }

    QString out = p.prefix;
    // A value that rounds to zero loses its sign.
    if (negative && !d.digits.empty())
        out += u'-';
    out += QLatin1String(integer.data(), static_cast<qsizetype>(integer.size()));
    if (p.hasPoint) {
        out += u'.';
        out += QLatin1String(fraction.data(), static_cast<qsizetype>(fraction.size()));
    }
    out += p.suffix;
    return out;
}

template <typename T>
QString formatValue(T value, QStringView pattern)
{
    if (!std::isfinite(value))
        return {};
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    return render(std::signbit(value), decimalFromScientific(buf, res.ptr), parsePattern(pattern));
}

}  // namespace

QString NumberFormat::format(double value, QStringView pattern) { return formatValue(value, pattern); }

QString NumberFormat::format(float value, QStringView pattern) { return formatValue(value, pattern); }

}  // namespace cubwave
