// Any bytes as "BandPlan.txt", read for the privileges window and for the rig's mode commands:
// never more than 200 records, only real edges, only Extra records for the rig, a mode for any
// frequency taken from the plan, and a drawing with labels at real places and no more bands
// than the window has room for.
#include "bandplan/BandPlanFile.h"
#include "bandplan/LicenceClasses.h"
#include "bandplan/PrivilegesLayout.h"
#include "bandplan/SidebandTable.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace cubwave;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool realRect(const QRectF& r)
{
    return std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width()) && std::isfinite(r.height());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

    const BandPlanFile::Contents contents = BandPlanFile::parse(bytes);
    check(contents.records.size() <= size_t(BandPlanFile::kMaxRecords));
    if (contents.problem != BandPlanFile::Problem::None)
        check(contents.records.empty() && contents.effective.isEmpty());
    for (const BandPlanRecord& r : contents.records)
        check(std::isfinite(r.lowMHz) && std::isfinite(r.highMHz));

    const std::vector<BandPlanRecord> extra = BandPlanFile::extraRecords(bytes);
    check(extra.size() <= size_t(BandPlanFile::kMaxRecords));
    for (const BandPlanRecord& r : extra)
        check(r.licenceClass == u"E" && std::isfinite(r.lowMHz) && std::isfinite(r.highMHz));

    const SidebandTable table(extra);
    for (const BandPlanRecord& r : extra) {
        for (float f : {r.lowMHz, r.highMHz, (r.lowMHz + r.highMHz) / 2}) {
            const QString mode = table.sidebandFor(f);
            check(mode.isEmpty() || mode == u"LSB" || mode == u"USB"
                  || std::any_of(extra.begin(), extra.end(), [&](const BandPlanRecord& e) { return e.mode == mode; }));
        }
    }
    if (size >= 4) {
        float f;
        std::memcpy(&f, data, sizeof f);
        table.sidebandFor(f);
    }

    const PrivilegesLayout::Frame frame{1024, 738, 130, 1.5};
    for (const LicenceClassChoice& choice : kLicenceClasses) {
        const PrivilegesDrawing drawing =
            PrivilegesLayout::draw(contents.records, QString::fromLatin1(choice.licenceClass), frame);
        check(drawing.bars.size() <= size_t(PrivilegesLayout::kMaxBands));
        check(drawing.bars.size() == drawing.tags.size());
        for (const auto* labels : {&drawing.bars, &drawing.tags, &drawing.segments}) {
            for (const PrivilegeLabel& label : *labels)
                check(realRect(label.rect));
        }
    }
    return 0;
}
