#include "station/GreatCircle.h"

#include <algorithm>
#include <cmath>

namespace cubwave {

namespace {

// Arc cosine written, as the original formulas are, with the arc tangent; the ends of the
// range, where the quotient divides by zero, are the limits.
double arcCos(double c)
{
    const double halfPi = 2.0 * std::atan(1.0);
    if (c >= 1.0)
        return 0.0;
    if (c <= -1.0)
        return 2.0 * halfPi;
    return halfPi + std::atan(-c / std::sqrt(1.0 - c * c));
}

// Closer than this (in 1 - cos of the central angle, about 30 feet) the cosine carries only
// rounding noise, so the bearing and a sub-mile distance would be noise too.
constexpr double kDegenerate = 1e-12;

}  // namespace

BearingDistance GreatCircle::compute(float ownLatitude, float ownLongitude, float farLatitude,
                                float farLongitude)
{
    BearingDistance result;
    const double phi1 = ownLatitude / kDegreesPerRadian;
    const double lambda1 = ownLongitude / kDegreesPerRadian;
    const double phi2 = farLatitude / kDegreesPerRadian;
    const double lambda2 = farLongitude / kDegreesPerRadian;
    if (!std::isfinite(phi1) || !std::isfinite(lambda1) || !std::isfinite(phi2) || !std::isfinite(lambda2))
        return result;

    // Rounding can push the cosine a hair past +-1.
    const double c = std::clamp(std::sin(phi1) * std::sin(phi2)
                                    + std::cos(phi2) * std::cos(phi1) * std::cos(lambda2 - lambda1),
                                -1.0, 1.0);
    if (1.0 - c < kDegenerate)
        return result;  // the same place: no bearing, no distance

    const double angle = arcCos(c);
    result.hasDistance = true;
    result.distanceMiles = angle * kMilesPerRadian;
    result.distanceText = formatWhole(result.distanceMiles, true) + QLatin1Char(' ');

    const double centralDegrees = angle * kDegreesPerRadian;
    const double denominator = std::cos(phi1) * std::sin(centralDegrees / kDegreesPerRadian);
    if (1.0 + c < kDegenerate || std::fabs(denominator) < 1e-9)
        return result;  // antipodes, or standing on a pole: every direction leads there

    const double x = std::clamp((std::sin(phi2) - c * std::sin(phi1)) / denominator, -1.0, 1.0);
    const double a = arcCos(x) * kDegreesPerRadian;
    // West-positive longitudes: the far station lies east when the own one is further west.
    result.bearingDegrees = std::sin((ownLongitude - farLongitude) / kDegreesPerRadian) > 0 ? a : 360.0 - a;
    result.hasBearing = true;
    result.bearingText = formatWhole(result.bearingDegrees, false) + QLatin1Char(' ');
    return result;
}

QString GreatCircle::formatWhole(double value, bool groupThousands)
{
    const double rounded = std::round(value);
    if (!std::isfinite(rounded) || rounded == 0.0)
        return {};
    const QString digits = QString::number(std::fabs(rounded), 'f', 0);
    QString text;
    text.reserve(digits.size() + digits.size() / 3 + 1);
    if (rounded < 0)
        text += QLatin1Char('-');
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (groupThousands && i > 0 && (digits.size() - i) % 3 == 0)
            text += QLatin1Char(',');
        text += digits[i];
    }
    return text;
}

}  // namespace cubwave
