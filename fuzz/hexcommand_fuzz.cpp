// Any text typed as a hex command in the raw-command test window: either nothing, or one byte
// for each pair of hex digits at positions 1, 4, 7, …, which reads back the same from its own
// hex view.
#include "rig/HexText.h"

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString typed = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QByteArray> bytes = HexText::typedToBytes(typed);
    if (!bytes)
        return 0;
    if (bytes->size() != (typed.size() + 1) / 3)
        std::abort();
    for (qsizetype i = 0; i < bytes->size(); ++i) {
        const int high = HexText::digitValue(typed[3 * i].unicode());
        const int low = HexText::digitValue(typed[3 * i + 1].unicode());
        if (high < 0 || low < 0 || static_cast<unsigned char>(bytes->at(i)) != high * 16 + low)
            std::abort();
        if (3 * i + 2 < typed.size() && HexText::digitValue(typed[3 * i + 2].unicode()) >= 0)
            std::abort();
    }
    if (HexText::typedToBytes(HexText::bytesToSpaced(*bytes).trimmed()) != bytes)
        std::abort();
    return 0;
}
