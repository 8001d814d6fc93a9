#pragma once

#include <QString>

namespace cubwave {

struct BearingDistance {
    QString bearingText;   // "###" and a blank; empty when there is no bearing
    QString distanceText;  // "##,###" and a blank; empty when there is no distance
    bool hasBearing = false;
    double bearingDegrees = 0.0;  // great-circle initial bearing, 0..360
    bool hasDistance = false;
    double distanceMiles = 0.0;   // statute miles
};

// Bearing and distance from the own station to a far one on a sphere of 3955.76 miles radius,
// by the spherical law of cosines. Coordinates are degrees, latitude north positive, longitude
// west positive, in the single precision the table and the preferences hold them.
class GreatCircle {
public:
    static constexpr double kDegreesPerRadian = 57.29577951;
    static constexpr double kMilesPerRadian = 3955.75791314991;

    // Where the formulas have no answer, the texts are empty: identical points have neither
    // bearing nor distance; antipodal points, or an own station at a pole, have a distance but
    // no single bearing.
    static BearingDistance compute(float ownLatitude, float ownLongitude, float farLatitude,
                                   float farLongitude);

    // A whole number in the style of the picture formats "###" and "##,###": rounded half away
    // from zero, no leading zeros (so zero gives empty text), commas between thousands when
    // groupThousands, and as many digits as the value needs.
    static QString formatWhole(double value, bool groupThousands);
};

}  // namespace cubwave
