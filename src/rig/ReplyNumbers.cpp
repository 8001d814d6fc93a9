#include "rig/ReplyNumbers.h"

#include <cmath>

namespace cubwave {

std::optional<qint64> ReplyNumbers::decimal(QByteArrayView digits)
{
    if (digits.isEmpty() || digits.size() > 15)
        return std::nullopt;
    qint64 value = 0;
    for (char c : digits) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

qint64 ReplyNumbers::bigEndian(QByteArrayView bytes)
{
    qint64 value = 0;
    for (char b : bytes)
        value = value * 256 + static_cast<unsigned char>(b);
    return value;
}

float ReplyNumbers::mhzFiveDecimals(qint64 value, double divisorToMHz)
{
    // Scale to units of 10 Hz by dividing by an exact power of ten, so a tie such as 14025005 Hz
    // is seen as the exact half it is; nearbyint rounds ties to even.
    const double tensOfHz = std::nearbyint(double(value) / (divisorToMHz / 1e5));
    return float(tensOfHz / 1e5);
}

}  // namespace cubwave
