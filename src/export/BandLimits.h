#pragma once

#include <QStringView>

#include <optional>

namespace cubwave {

// The edges of the eight bands the log knows, in MHz, as the ADIF Band enumeration gives them.
struct BandLimits {
    double lowerMHz = 0;
    double upperMHz = 0;

    bool contains(double freqMHz) const { return freqMHz >= lowerMHz && freqMHz <= upperMHz; }

    // For a band code "160", "80", "40", "20", "15", "10", "6" or "2" (exact); nothing otherwise.
    static std::optional<BandLimits> of(QStringView bandCode);
};

}  // namespace cubwave
