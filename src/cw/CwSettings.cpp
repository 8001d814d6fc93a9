#include "cw/CwSettings.h"

#include "cw/CwNumber.h"
#include "cw/MorseTable.h"

#include <algorithm>

namespace cubwave {

qint64 CwSettings::wordSpaceUnits() const
{
    const auto n = CwNumber::parse(wordSpace);
    if (!n)
        return 0;
    const double clamped = std::clamp(*n, -8.0, static_cast<double>(MorseTable::kMaxWordSpaceAdjust));
    return static_cast<qint64>(CwNumber::roundHalfEven(clamped));
}

int CwSettings::repeatIntervalMs() const
{
    const auto seconds = CwNumber::parse(repeatSeconds);
    if (!seconds || *seconds < 0 || *seconds >= 60)
        return 0;
    return static_cast<int>(CwNumber::roundHalfEven(*seconds * 1000.0));
}

}  // namespace cubwave
