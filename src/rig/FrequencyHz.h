#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace cubwave {

// Frequencies on their way to a radio, as whole hertz: single precision holds 10 Hz steps only
// up to about 128 MHz, so stepping, scanning and commands count in hertz and convert only where
// a single-precision MHz value comes in or a text goes out.
class FrequencyHz {
public:
    // Far beyond any radio; keeps every sum and product of hertz inside 64 bits.
    static constexpr qint64 kLimitHz = 1'000'000'000'000'000;  // 10^9 MHz

    // Round(MHz x 1,000,000), halves to even; nothing for a value beyond the limit or not finite.
    static std::optional<qint64> fromMHz(float mhz);
    // A typed decimal number of MHz ("14.025", "1270.", ".5", "-0.5"), read exactly and rounded
    // to the hertz, halves to even. Blanks around it are allowed; nothing else is.
    static std::optional<qint64> parseMHz(QStringView text);
    // The shortest decimal text of MHz: 14025000 -> "14.025", 1270000000 -> "1270".
    static QString toMHzText(qint64 hz);
    static float toMHz(qint64 hz) { return float(double(hz) / 1e6); }
    // hz / divisor rounded halves to even, for commands in steps coarser than a hertz.
    static qint64 roundedSteps(qint64 hz, qint64 divisor);
};

}  // namespace cubwave
