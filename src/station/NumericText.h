#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace cubwave {

// Numbers as the operator types and reads them in the station settings.
class NumericText {
public:
    // A plain decimal number: blanks around it allowed, an optional "+" or "-", digits with at
    // most one "." and at least one digit ("-4", "5.5", " 3 ", ".5"). No exponents, no
    // thousands separators, no locale: "." is the only decimal point. Nothing for anything else,
    // or for a value too large for single precision.
    static std::optional<double> parse(QStringView text);

    // The shortest text that reads back as the same single-precision value, never with an
    // exponent: 5.5 -> "5.5", -4 -> "-4", 0.33f -> "0.33", -0 -> "0". Non-finite values give "0".
    static QString shortest(float value);
};

}  // namespace cubwave
