#pragma once

#include "bandplan/BandPlanRecord.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace cubwave {

// "BandPlan.txt": the date the plan applies from, then records of five values (band, licence
// class, mode, lower and upper edge in MHz), values separated by commas or line ends, texts in
// double quotes, numbers bare.
class BandPlanFile {
public:
    static inline const QString kFileName = QStringLiteral("BandPlan.txt");
    static constexpr int kMaxRecords = 200;
    // 200 records take under 10 KB; a file beyond this holds more than any plan can use.
    static constexpr qint64 kMaxBytes = 256 * 1024;

    enum class Problem { None, Missing, Unreadable, TooLong };
    struct Contents {
        Problem problem = Problem::None;
        QString effective;  // the first value
        std::vector<BandPlanRecord> records;
    };

    // The privileges window's reading: every value must be there and every edge a number, or the
    // file is unreadable; more than kMaxRecords records make it too long. Nothing is kept then.
    static Contents parse(const QByteArray& bytes);
    static Contents read(const QString& folder);

    // The first record that could not be read: its line (from 1) and why.
    struct Damage {
        int line = 0;
        QString reason;
        bool operator==(const Damage&) const = default;
    };
    struct ExtraReading {
        std::vector<BandPlanRecord> records;
        std::optional<Damage> damage;
    };

    // The rig's reading for mode commands: the Extra class's records, at most kMaxRecords,
    // passing over records it cannot read and whatever does not fit, and where the first
    // unreadable record is. A missing or unreadable file gives nothing and no damage.
    static ExtraReading readExtra(const QByteArray& bytes);
    static ExtraReading readExtra(const QString& folder);
    static std::vector<BandPlanRecord> extraRecords(const QByteArray& bytes);
    static std::vector<BandPlanRecord> readExtraRecords(const QString& folder);
};

}  // namespace cubwave
