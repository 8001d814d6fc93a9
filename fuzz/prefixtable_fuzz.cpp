// Feeds arbitrary bytes to the prefix table parser; when they parse, looks up calls taken from
// the same bytes and completes a country name, and checks the results hold together.
#include "station/GreatCircle.h"
#include "station/PrefixTable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const PrefixTableLoad load = PrefixTable::parse(bytes);
    if (!load.ok) {
        if (!load.table.isEmpty())
            std::abort();  // a failed load must not hand over a partial table
        return 0;
    }
    const PrefixTable& table = load.table;
    if (table.size() > PrefixTable::kMaxEntries)
        std::abort();

    // Calls: the first bytes of the input, and each entry's own prefix with a suffix.
    const QString head = QString::fromLatin1(bytes.first(std::min<qsizetype>(bytes.size(), 12)));
    for (const QString& call : {head, head.toLower(), QStringLiteral("W1AW/") + head.left(3)}) {
        const CallLocation r = table.locate(call);
        if (r.entry < 0 || r.entry > table.size())
            std::abort();
        if (r.hasCoordinates)
            GreatCircle::compute(41.7f, 72.7f, r.latitude, r.longitude);
        table.spotCountry(call);
        table.completeCountry(call, Qt::CaseInsensitive);
    }
    for (int i = 1; i <= std::min(table.size(), 64); ++i) {
        const QString call = table.entry(i).prefix + QStringLiteral("1AB");
        const CallLocation r = table.locate(call);
        // An entry's own prefix always matches something at least as long, if the lines are
        // sorted; unsorted input may miss, but must stay in range.
        if (r.entry < 0 || r.entry > table.size())
            std::abort();
        table.spotCountry(call);
    }
    return 0;
}
