#pragma once

#include <QString>

#include <optional>

namespace cubwave {

// How one element is timed.
enum class TimingMethod {
    Timer,  // poll the monotonic clock until the element's end
    Loop,   // a calibrated counting loop
    Sleep,  // sleep whole milliseconds
};

// The arithmetic of the code speed and the three timing methods.
class MorseTiming {
public:
    // One unit is 1200 / WPM ms (the 50-unit word "PARIS "). Nothing for a speed that is zero,
    // negative or not a finite number: no unit exists, so nothing may be keyed.
    static std::optional<double> unitMs(double wpm);
    static std::optional<double> unitMs(const QString& speedText);

    // "Sleep" waits whole milliseconds, halves to the even neighbour: 92 at 13 WPM, 38 at 32.
    static qint64 sleepMsPerUnit(double unitMs);

    // "Loop": the loop offset counts passes per 60 ms, a unit at 20 WPM; a unit at S WPM counts
    // while the counter is below offset x 20 / S, so it makes ceil of that many passes.
    static double loopPassesPerUnit(double loopOffset, double wpm);

    // The loop offset from a measured run of kCalibrationPasses: passes per 60 ms, rounded half
    // to even. Measured in microseconds; a run too quick to measure counts as 1 us rather than
    // dividing by zero.
    static constexpr double kCalibrationPasses = 5'000'000;
    static double calibratedLoopOffset(qint64 elapsedUs);

    // "F" and "S" beside the loop offset.
    static double loopFaster(double loopOffset);
    static double loopSlower(double loopOffset);

    static QString methodName(TimingMethod method);
    // "Timer", "Loop" or "Sleep"; anything else is "Timer", the default.
    static TimingMethod methodFromName(const QString& name);
};

}  // namespace cubwave
