#pragma once

#include <QString>
#include <QStringView>

namespace cubwave {

// Formats a number with a digit-placeholder pattern such as "###,##0" or "#####.##0":
// - "0" always prints a digit, "#" only a significant one, so "#####.##0" gives ".500" for 0.5;
// - a "," among the integer placeholders groups the integer digits in threes, however many;
// - "." places the decimal point; the fraction keeps at least as many digits as reach its last
//   "0" and at most as many as it has placeholders (trailing zeros beyond the last "0" dropped);
// - an integer part longer than its placeholders is printed whole;
// - characters before the first or after the last placeholder are copied as they stand.
// Rounding is half away from zero on the number's shortest decimal form, so a single-precision
// 3.5005 becomes 3.501, as the operator reads it, not 3.500 from its binary value. The separators
// are always "." and ",", whatever the locale. A non-finite value gives an empty text.
class NumberFormat {
public:
    static QString format(double value, QStringView pattern);
    static QString format(float value, QStringView pattern);
};

}  // namespace cubwave
