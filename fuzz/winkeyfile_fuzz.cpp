// Any bytes handed to the keyer settings reader give settings (never a crash) whose option bytes
// are the window's options, and what the writer makes of them reads back unchanged.
#include "cw/WinKeyFile.h"

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

namespace {

bool same(const WinKeySettings& a, const WinKeySettings& b)
{
    return a.port == b.port && a.speed == b.speed && a.weight == b.weight && a.leadIn == b.leadIn &&
           a.tail == b.tail && a.ratio == b.ratio && a.pins == b.pins && a.mode == b.mode;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     static_cast<qsizetype>(size));
    const WinKeySettings read = WinKeyFile::parse(bytes);
    if (!WinKeyFile::isPinOption(read.pins) || !WinKeyFile::isModeOption(read.mode))
        std::abort();
    const WinKeySettings once = WinKeyFile::parse(WinKeyFile::serialize(read));
    const WinKeySettings twice = WinKeyFile::parse(WinKeyFile::serialize(once));
    if (!same(once, twice) || once.port != read.port || once.pins != read.pins || once.mode != read.mode)
        std::abort();
    return 0;
}
