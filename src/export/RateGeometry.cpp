#include "export/RateGeometry.h"

namespace cubwave {

double RateGeometry::y(float value, const RateSeries& series) const
{
    const double height = bottomY - topY;
    const double factor =
        series.flat() ? 0.0 : height / (static_cast<double>(series.highest) - series.lowest) * 0.995;
    return bottomY - (static_cast<double>(value) - series.lowest) * factor - height * 0.0025;
}

}  // namespace cubwave
