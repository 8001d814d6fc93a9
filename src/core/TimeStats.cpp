#include "core/TimeStats.h"

#include "core/ContactTime.h"
#include "core/LogMoment.h"

namespace cubwave {

TimeStats::Rates TimeStats::compute(const LogStore& store, const QDateTime& localWallClock, float utcOffsetHours)
{
    Rates rates;
    const qint64 now = LogMoment::seconds(contactUtc(localWallClock, utcOffsetHours));
    const std::vector<QsoRecord>& records = store.records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        const auto moment = LogMoment::seconds((*it)[QsoRecord::Date], (*it)[QsoRecord::Time]);
        if (!moment)
            continue;
        const qint64 age = now - *moment;
        if (age < k20MinSecs)
            ++rates.count20;
        if (age >= k60MinSecs)
            break;
        ++rates.count60;
    }
    return rates;
}

}  // namespace cubwave
