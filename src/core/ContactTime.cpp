#include "core/ContactTime.h"

#include <cmath>

namespace cubwave {

QDateTime contactUtc(const QDateTime& localWallClock, float utcOffsetHours)
{
    const long minutes = std::lround(static_cast<double>(utcOffsetHours) * 60.0);
    return localWallClock.addSecs(static_cast<qint64>(minutes) * 60);
}

QString contactDateText(const QDateTime& utc) { return utc.toString(QStringLiteral("yyyy/MM/dd")); }

QString contactTimeText(const QDateTime& utc) { return utc.toString(QStringLiteral("HH:mm:ss")); }

}  // namespace cubwave
