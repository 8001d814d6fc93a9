#pragma once

#include "bandplan/BandPlanFile.h"
#include "bandplan/BandPlanRecord.h"

#include <QString>

#include <optional>
#include <vector>

namespace cubwave {

// The band plan's Extra-class records, which say what mode a rig should be in on a frequency:
// a CW segment gives "CW", a phone segment the sideband voice uses there.
class SidebandTable {
public:
    SidebandTable() = default;
    explicit SidebandTable(std::vector<BandPlanRecord> extraRecords) : records_(std::move(extraRecords)) {}
    static SidebandTable fromBytes(const QByteArray& bandPlanFile);
    static SidebandTable load(const QString& folder);

    // The mode of the first record strictly around freqMHz (single-precision comparisons): "PH"
    // becomes "LSB" on 80 and 40 m and "USB" elsewhere, 60 m included, where US rules allow voice
    // on the upper sideband only; other mode texts are returned as they stand. Nothing on 160 m,
    // where no mode command is sent, and nothing outside every record.
    QString sidebandFor(float freqMHz) const;
    // Some record lies strictly around freqMHz.
    bool covers(float freqMHz) const;

    const std::vector<BandPlanRecord>& records() const { return records_; }
    // Where the file was damaged, when it was: the records from there on may be missing.
    const std::optional<BandPlanFile::Damage>& damage() const { return damage_; }
    void setDamage(std::optional<BandPlanFile::Damage> damage) { damage_ = std::move(damage); }

private:
    std::vector<BandPlanRecord> records_;
    std::optional<BandPlanFile::Damage> damage_;
};

}  // namespace cubwave
