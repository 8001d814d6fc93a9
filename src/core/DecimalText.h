#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace cubwave {

// Numbers as the operator types them into settings fields, whatever the locale.
class DecimalText {
public:
    // A plain decimal: blanks around it allowed, an optional "+" or "-", digits with at most one
    // "." and at least one digit ("-4", "5.5", " 3 ", ".5"). No exponents, no thousands
    // separators: "." is the only decimal point. Nothing for anything else or a non-finite value.
    static std::optional<double> parse(QStringView text);

    // The shortest text that reads back as the same value, never with an exponent:
    // 13.5 -> "13.5", -1 -> "-1", -0 -> "0". Non-finite values give "0".
    static QString shortest(double value);
    static QString shortest(float value);
};

}  // namespace cubwave
