#pragma once

#include <QDateTime>

namespace cubwave {

// The UTC moment of a live contact: the local wall clock advanced by the operator's offset,
// converted to whole minutes (offset x 60, rounded to the nearest minute).
QDateTime contactUtc(const QDateTime& localWallClock, float utcOffsetHours);

QString contactDateText(const QDateTime& utc);  // "yyyy/MM/dd"
QString contactTimeText(const QDateTime& utc);  // "hh:mm:ss"

}  // namespace cubwave
