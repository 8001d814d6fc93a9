#pragma once

#include <QString>

#include <optional>

namespace cubwave {

// The text form of a serial line's framing, "9600,N,8,1".
struct SerialSettings {
    int baud = 9600;
    char parity = 'N';  // 'N', 'O' or 'E'
    int dataBits = 8;   // 5..8
    int stopBits = 1;   // 1 or 2

    bool operator==(const SerialSettings&) const = default;

    // Parity letters in either case; blanks around the items allowed. Nothing for a baud rate
    // the line cannot be set to, or anything malformed.
    static std::optional<SerialSettings> parse(const QString& text);
    QString text() const;
    // Whether the line can be set to this rate.
    static bool isSupportedBaud(int baud);
};

}  // namespace cubwave
