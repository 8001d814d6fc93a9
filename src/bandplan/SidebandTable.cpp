#include "bandplan/SidebandTable.h"

#include "bandplan/BandPlanFile.h"

namespace cubwave {

SidebandTable SidebandTable::fromBytes(const QByteArray& bandPlanFile)
{
    return SidebandTable(BandPlanFile::extraRecords(bandPlanFile));
}

SidebandTable SidebandTable::load(const QString& folder)
{
    return SidebandTable(BandPlanFile::readExtraRecords(folder));
}

QString SidebandTable::sidebandFor(float freqMHz) const
{
    for (const BandPlanRecord& r : records_) {
        if (!(r.lowMHz < freqMHz && freqMHz < r.highMHz))
            continue;
        if (r.band == u"160")
            return {};
        if (r.mode == u"PH")
            return r.band == u"80" || r.band == u"40" ? QStringLiteral("LSB") : QStringLiteral("USB");
        return r.mode;
    }
    return {};
}

}  // namespace cubwave
