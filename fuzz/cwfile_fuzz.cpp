// Any bytes handed to the CW message file reader give settings (never a crash), and what the
// writer makes of them reads back unchanged from then on.
#include "cw/CwFile.h"

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     static_cast<qsizetype>(size));
    const CwSettings read = CwFile::parse(bytes);
    const int iface = read.cwInterface;
    if (iface != kCwNone && iface != kCwRts && iface != kCwDtr && iface != kCwPrinter && iface != kCwWinKey)
        std::abort();
    const CwSettings once = CwFile::parse(CwFile::serialize(read));
    const CwSettings twice = CwFile::parse(CwFile::serialize(once));
    if (!(once == twice))
        std::abort();
    (void)read.wordSpaceUnits();
    (void)read.repeatIntervalMs();
    return 0;
}
