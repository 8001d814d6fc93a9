#include "cw/MorseTiming.h"

#include "cw/CwNumber.h"

#include <cmath>

namespace cubwave {

std::optional<double> MorseTiming::unitMs(double wpm)
{
    if (!std::isfinite(wpm) || wpm <= 0)
        return std::nullopt;
    const double unit = 1200.0 / wpm;
    if (!std::isfinite(unit) || unit <= 0)
        return std::nullopt;
    return unit;
}

std::optional<double> MorseTiming::unitMs(const QString& speedText)
{
    const auto wpm = CwNumber::parse(speedText);
    if (!wpm)
        return std::nullopt;
    return unitMs(*wpm);
}

qint64 MorseTiming::sleepMsPerUnit(double unitMs)
{
    return static_cast<qint64>(CwNumber::roundHalfEven(unitMs));
}

double MorseTiming::loopPassesPerUnit(double loopOffset, double wpm)
{
    if (!std::isfinite(loopOffset) || loopOffset <= 0 || !std::isfinite(wpm) || wpm <= 0)
        return 0;
    return std::ceil(loopOffset * 20.0 / wpm);
}

double MorseTiming::calibratedLoopOffset(qint64 elapsedUs)
{
    const double elapsedMs = static_cast<double>(elapsedUs < 1 ? 1 : elapsedUs) / 1000.0;
    return CwNumber::roundHalfEven(kCalibrationPasses / elapsedMs * 60.0);
}

double MorseTiming::loopFaster(double loopOffset) { return CwNumber::roundHalfEven(loopOffset * 0.9); }

double MorseTiming::loopSlower(double loopOffset)
{
    return CwNumber::roundHalfEven(loopOffset * 1.111111111111);
}

QString MorseTiming::methodName(TimingMethod method)
{
    switch (method) {
    case TimingMethod::Loop:
        return QStringLiteral("Loop");
    case TimingMethod::Sleep:
        return QStringLiteral("Sleep");
    case TimingMethod::Timer:
        break;
    }
    return QStringLiteral("Timer");
}

TimingMethod MorseTiming::methodFromName(const QString& name)
{
    if (name == QLatin1String("Loop"))
        return TimingMethod::Loop;
    if (name == QLatin1String("Sleep"))
        return TimingMethod::Sleep;
    return TimingMethod::Timer;
}

}  // namespace cubwave
