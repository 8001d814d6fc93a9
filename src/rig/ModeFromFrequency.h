#pragma once

namespace cubwave {

// "Mode by: Frequency": the CW and phone segments of each band from 80 m to 2 m. Comparisons are
// strict at both ends against single-precision bounds; there is no segment on 160 m.
class ModeFromFrequency {
public:
    // "CW" or "PH", or nullptr (keep the mode) outside every segment and exactly on a bound.
    static const char* modeFor(float freqMHz);
};

}  // namespace cubwave
