#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace cubwave {

// Numbers as the CW settings hold them in text fields.
class CwNumber {
public:
    // A plain decimal: blanks around it, an optional sign, digits with at most one "." and at
    // least one digit. "." is the only decimal point, whatever the locale. Nothing otherwise.
    static std::optional<double> parse(QStringView text);

    // A port address: "&H" and hexadecimal digits, or a decimal whole number; 1 to 65535.
    static std::optional<quint16> parseAddress(QStringView text);

    // Whole numbers with halves to the even neighbour, as the settings round them.
    static double roundHalfEven(double value);
};

}  // namespace cubwave
