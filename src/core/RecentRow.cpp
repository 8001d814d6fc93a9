#include "core/RecentRow.h"

#include "core/LogMoment.h"

namespace cubwave {

RecentRow RecentRow::fromRecord(int recNo, const QsoRecord& r)
{
    return {recNo,
            r[QsoRecord::Call],
            r[QsoRecord::Name],
            r[QsoRecord::Age],
            r[QsoRecord::Spc],
            r[QsoRecord::Other],
            LogMoment::listText(r[QsoRecord::Date], r[QsoRecord::Time]),
            r[QsoRecord::Band],
            r[QsoRecord::Mode]};
}

QStringList RecentRow::cells() const
{
    return {QString::number(recNo), call, name, age, spc, other, dateTime, band, mode};
}

}  // namespace cubwave
