#pragma once

#include "core/LogStore.h"

#include <QDateTime>
#include <QString>

namespace cubwave {

// The contact rates over the last 20 and 60 minutes.
class TimeStats {
public:
    static constexpr qint64 k20MinSecs = 1200;
    static constexpr qint64 k60MinSecs = 3600;

    struct Rates {
        int count20 = 0;  // contacts less than 20 minutes old, future-dated ones included
        int count60 = 0;  // contacts less than an hour old, future-dated ones included

        // "QSOs / Hr (last 20 min)": three times the 20-minute count.
        QString perHour20Text() const { return QString::number(count20 * 3); }
        // "QSOs / Hr (last 60 min)".
        QString perHour60Text() const { return QString::number(count60); }
    };

    // Walks the log from the newest record back and stops at the first one an hour old or more,
    // even when earlier records are more recent (a post-contest entry logged last stops it at
    // once). Record times are UTC; "now" is the local wall clock advanced by the UTC offset in
    // whole minutes, to the second. A record whose date or time does not read is passed over:
    // it counts in neither window and does not stop the walk.
    static Rates compute(const LogStore& store, const QDateTime& localWallClock, float utcOffsetHours);
};

}  // namespace cubwave
