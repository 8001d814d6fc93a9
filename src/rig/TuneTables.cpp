#include "rig/TuneTables.h"

#include "core/NumberFormat.h"

namespace cubwave {

QString TuneTables::scanText(qint64 hz)
{
    // A double holds every hertz value exactly enough for its shortest text to be the decimal one.
    return NumberFormat::format(double(hz) / 1e6, QStringView(kScanFormat));
}

}  // namespace cubwave
