#include "station/NumericText.h"

#include "core/DecimalText.h"

#include <cmath>
#include <limits>

namespace cubwave {

std::optional<double> NumericText::parse(QStringView text)
{
    const auto value = DecimalText::parse(text);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return value;
}

QString NumericText::shortest(float value) { return DecimalText::shortest(value); }

}  // namespace cubwave
