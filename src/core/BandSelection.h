#pragma once

#include <QString>

#include <optional>

namespace cubwave {

// The band and mode decisions that need no window: which band a rig frequency lies in, the
// frequency text the next contact records, the band-label click cycle and what a rig mode
// report selects. The window runs the band and mode commands these name.
class BandSelection {
public:
    // The frequency text pattern: no leading zeros, always three decimals.
    static constexpr const char* kFrequencyFormat = "#####.##0";

    // The band whose open window holds freqMHz, or nothing. The bounds are single-precision, so
    // a band edge such as exactly 7.3 or 14.35 lies inside. There is no window for 2 m.
    static std::optional<QString> bandForFrequency(float freqMHz);
    // freqMHz as "#####.##0": 7.02 -> "7.020", 0.5 -> ".500". Empty for a non-finite value.
    static QString frequencyText(float freqMHz);

    struct FrequencyReport {
        // The band command to run: set only when the frequency lies in a band other than the
        // current one.
        std::optional<QString> bandCommand;
        // The new current frequency text; nothing (keep the old one) when the report is not a
        // usable number.
        std::optional<QString> frequencyText;
    };
    // What a rig frequency report changes.
    static FrequencyReport frequencyReport(float freqMHz, const QString& currentBand);

    // The band a click on the band label selects: 80 -> 40 -> 20 -> 15 -> 10 -> 6 -> 2 -> 80.
    // Nothing from 160 or an unknown band.
    static std::optional<QString> nextBandOnClick(const QString& currentBand);

    // The 160, 6 and 2 m commands reload the log after selecting their band.
    static bool bandCommandReloadsLog(const QString& band);

    enum class ModeCommand { None, Cw, Ph };
    // What a rig mode report runs: the command of the reported mode when it is "CW" or "PH" and
    // differs from the current mode; none for an empty, equal or other text.
    static ModeCommand modeSelection(const QString& rigMode, const QString& currentMode);
};

}  // namespace cubwave
