#include "bandplan/SidebandTable.h"

#include "bandplan/BandPlanFile.h"

#include <algorithm>

namespace cubwave {

namespace {

SidebandTable fromReading(BandPlanFile::ExtraReading reading)
{
    SidebandTable table(std::move(reading.records));
    table.setDamage(std::move(reading.damage));
    return table;
}

}  // namespace

SidebandTable SidebandTable::fromBytes(const QByteArray& bandPlanFile)
{
    return fromReading(BandPlanFile::readExtra(bandPlanFile));
}

SidebandTable SidebandTable::load(const QString& folder) { return fromReading(BandPlanFile::readExtra(folder)); }

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

bool SidebandTable::covers(float freqMHz) const
{
    return std::any_of(records_.begin(), records_.end(),
                       [freqMHz](const BandPlanRecord& r) { return r.lowMHz < freqMHz && freqMHz < r.highMHz; });
}

}  // namespace cubwave
