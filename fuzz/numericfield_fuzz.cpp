// Any text typed or read into a numeric settings field (station offsets and coordinates, CW
// speed, word space, repeat interval, port address). The parsers take exactly the plain decimals
// their contract names, with the value the C library reads from the same digits; every number
// they write reads back as the same number.
#include "core/DecimalText.h"
#include "cw/CwNumber.h"
#include "station/NumericText.h"

#include <QByteArray>
#include <QString>

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

using namespace cubwave;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool sameNumber(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

// The contract, written out again: blanks around, an optional sign, digits with at most one
// ".", at least one digit. The value of such text is what strtod reads in the C locale.
std::optional<double> plainDecimal(const QString& text)
{
    const QString t = text.trimmed();
    std::string ascii;
    int digits = 0;
    int points = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (c == u'.')
            ++points;
        else if (!((c == u'+' || c == u'-') && i == 0))
            return std::nullopt;
        ascii += static_cast<char>(c);
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    const double value = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

void checkText(const QString& text)
{
    const std::optional<double> expected = plainDecimal(text);
    const std::optional<double> decimal = DecimalText::parse(text);
    check(decimal.has_value() == expected.has_value());
    if (decimal)
        check(sameNumber(*decimal, *expected));
    check(CwNumber::parse(text) == decimal);

    // The station fields hold single precision: larger magnitudes are no number there.
    const std::optional<double> station = NumericText::parse(text);
    const bool fitsFloat = decimal && std::fabs(*decimal) <= std::numeric_limits<float>::max();
    check(station.has_value() == fitsFloat);

    if (decimal) {
        const QString written = DecimalText::shortest(*decimal);
        const std::optional<double> back = DecimalText::parse(written);
        check(back && (*back == *decimal));  // "-0" is written "0"
    }
    if (fitsFloat) {
        const float f = static_cast<float>(*station);
        if (std::isfinite(f)) {
            const std::optional<double> back = NumericText::parse(NumericText::shortest(f));
            check(back && static_cast<float>(*back) == f);
        }
    }

    // A port address: "&H" and up to four hexadecimal digits, or up to five decimal digits; 1 to 65535.
    const std::optional<quint16> address = CwNumber::parseAddress(text);
    const QString t = text.trimmed();
    std::optional<quint16> expectedAddress;
    const bool hex = t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive);
    const QString body = hex ? t.mid(2) : t;
    const int base = hex ? 16 : 10;
    if (!body.isEmpty() && body.size() <= (hex ? 4 : 5)) {
        long n = 0;
        bool ok = true;
        for (const QChar c : body) {
            const int d = c.unicode() < 128 ? QByteArray("0123456789abcdef").indexOf(static_cast<char>(std::tolower(c.unicode()))) : -1;
            if (d < 0 || d >= base) {
                ok = false;
                break;
            }
            n = n * base + d;
        }
        if (ok && n >= 1 && n <= 0xffff)
            expectedAddress = static_cast<quint16>(n);
    }
    check(address == expectedAddress);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::setlocale(LC_NUMERIC, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkText(QString::fromUtf8(bytes));
    checkText(QString::fromLatin1(bytes));
    return 0;
}
