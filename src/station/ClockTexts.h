#pragma once

#include <QString>
#include <QTime>

namespace cubwave {

// The main window's clocks, from the local wall clock's time of day.

// `lblutctime`: the local time advanced by the offset in whole minutes (rounded to the nearest,
// as a logged contact's time is), "hh:nn:ss" on the 24-hour clock.
QString utcClockText(const QTime& localTime, float utcOffsetHours);

// `lblCurTime`: the 12-hour local time "h:nn:ss" (no leading zero, 12 for the hour after
// midnight and after noon), without its marker.
QString localClockText(const QTime& localTime);

// `Label16`: "AM" before noon, "PM" from noon.
QString amPmText(const QTime& localTime);

}  // namespace cubwave
