#pragma once

#include "export/RateSeries.h"

namespace cubwave {

// Where the rate graph draws, in the window's units: the plot area's edges (the guide lines
// Line4 left, Line3 right, Line1 top, Line2 bottom) and the band strip's top and bottom.
struct RateGeometry {
    double leftX = 0;
    double rightX = 0;
    double topY = 0;
    double bottomY = 0;
    double stripTopY = 0;
    double stripBottomY = 0;
    double xShift = 10;  // position i lies this far right of its step

    double step() const { return (rightX - leftX) / RateSeries::kPositions; }
    // X of position i (0..1500).
    double x(int position) const { return leftX + step() * (position - 2) + xShift; }
    // Y of value v. A flat series has no spread to scale by: every value lies at the bottom.
    double y(float value, const RateSeries& series) const;
};

}  // namespace cubwave
