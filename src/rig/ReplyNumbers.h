#pragma once

#include <QByteArrayView>

#include <optional>

namespace cubwave {

// Number reading shared by the reply decoders. Replies arrive from a serial line, so every
// reader refuses rather than guesses: a value is taken only when all of its characters are digits.
class ReplyNumbers {
public:
    // A run of 1 to 15 ASCII decimal digits.
    static std::optional<qint64> decimal(QByteArrayView digits);
    // Bytes as binary, most significant first (up to 7 bytes).
    static qint64 bigEndian(QByteArrayView bytes);
    // value / divisor MHz, rounded to five decimals (ties to even), as single precision.
    static float mhzFiveDecimals(qint64 value, double divisorToMHz);
    // An upper-case letter or a digit: what a text protocol puts in its mode field.
    static bool isModeCharacter(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
};

}  // namespace cubwave
