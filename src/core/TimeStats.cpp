#include "core/TimeStats.h"

#include "core/ContactTime.h"
#include "core/LogMoment.h"

#include <limits>

namespace cubwave {

namespace {
constexpr qint64 kNoDay = std::numeric_limits<qint64>::min();
}  // namespace

TimeStats::Rates TimeStats::compute(const LogStore& store, const QDateTime& localWallClock, float utcOffsetHours)
{
    Rates rates;
    const qint64 now = LogMoment::seconds(contactUtc(localWallClock, utcOffsetHours));
    const std::vector<QsoRecord>& records = store.records();
    // Neighbouring records mostly share their date text, so its day number is reused.
    QStringView lastDate;
    qint64 lastDay = kNoDay;
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        const QString& date = (*it)[QsoRecord::Date];
        if (lastDate.isNull() || date != lastDate) {
            lastDate = date;
            lastDay = LogMoment::dayNumberOr(date, kNoDay);
        }
        const int second = LogMoment::secondOfDayOr((*it)[QsoRecord::Time], -1);
        if (lastDay == kNoDay || second < 0)
            continue;
        const qint64 age = now - (lastDay * 86400 + second);
        if (age < k20MinSecs)
            ++rates.count20;
        if (age >= k60MinSecs)
            break;
        ++rates.count60;
    }
    return rates;
}

}  // namespace cubwave
