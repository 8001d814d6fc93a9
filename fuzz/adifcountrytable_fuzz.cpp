// Feeds arbitrary bytes to the "ADIFCnt.txt" reader; a table that reads is bounded and answers
// lookups of names taken from the same bytes, a failure names the file.
#include "export/AdifCountryTable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString fileName = QStringLiteral("ADIFCnt.txt");
    const AdifCountryTableLoad load = AdifCountryTable::parse(bytes, fileName);
    if (!load.ok) {
        if (!load.error.startsWith(fileName))
            std::abort();  // the operator must see which file is wrong
        return 0;
    }
    if (load.table.size() < 0 || load.table.size() > AdifCountryTable::kMaxRows)
        std::abort();
    // Names: the input's first bytes, and each quoted text of its first lines.
    const QString text = QString::fromLatin1(bytes.first(std::min<qsizetype>(bytes.size(), 4096)));
    const QStringList parts = text.split(QLatin1Char('"'));
    for (qsizetype i = 0; i < std::min<qsizetype>(parts.size(), 64); ++i) {
        const int n = load.table.dxcc(parts[i]);
        if (n < 0 || n > 99999)
            std::abort();
    }
    load.table.dxcc(text.left(40));
    return 0;
}
