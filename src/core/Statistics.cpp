#include "core/Statistics.h"

#include "core/NumberFormat.h"

namespace cubwave {

Statistics::Totals Statistics::totals(const LogStore& store)
{
    const QString contacts = QString::fromLatin1(kContactsFormat);
    const QString counts = QString::fromLatin1(kCountFormat);
    const float records = static_cast<float>(store.count());
    const float multipliers = static_cast<float>(store.dxCount() + store.workedCount());
    return {NumberFormat::format(static_cast<double>(store.count()), contacts),
            NumberFormat::format(store.phoneCount(), counts),
            NumberFormat::format(records - store.phoneCount(), counts),
            NumberFormat::format(store.pointsTotal() * multipliers, counts)};
}

bool Statistics::showsNew(const QString& spcText, const QStringList& dxList)
{
    if (spcText.size() <= 2)
        return false;
    for (const char* excluded : {"Not Found", "Canada", "USA"}) {
        if (spcText.compare(QLatin1String(excluded), Qt::CaseInsensitive) == 0)
            return false;
    }
    return !dxList.contains(spcText, Qt::CaseInsensitive);
}

QString Statistics::statesWorkedText(int workedCount)
{
    return QStringLiteral("States / Provinces Worked: ") + QString::number(workedCount);
}

QString Statistics::dxHeading(int dxCount)
{
    // "DX " and " - " joined, then the count as a signed number with a blank for its sign.
    return QStringLiteral("DX  - ") + (dxCount >= 0 ? QStringLiteral(" ") : QString()) + QString::number(dxCount);
}

}  // namespace cubwave
