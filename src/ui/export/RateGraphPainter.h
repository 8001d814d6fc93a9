#pragma once

#include "export/RateGeometry.h"
#include "export/RateSeries.h"

class QPainter;

namespace cubwave {

// Paints the rate graph's curve and band strip (and the guide lines around them) with QPainter.
// Colours are 0xRRGGBB.
class RateGraphPainter {
public:
    static constexpr quint32 kCurveColour = 0x0000FF;

    // The guide lines: the plot area's frame, the band strip's top and bottom, and dotted grid
    // lines at the axis labels.
    static void paintGuides(QPainter& painter, const RateGeometry& geometry, quint32 lineColour);
    // Each position's line back to the one before it, in blue; under every position with a value
    // on either side, a strip rectangle in its band colour.
    static void paintSeries(QPainter& painter, const RateSeries& series, const RateGeometry& geometry);
};

}  // namespace cubwave
