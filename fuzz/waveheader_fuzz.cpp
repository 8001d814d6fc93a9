// Any bytes taken for the start of a wave file give a length or "none" (never a crash, never a
// negative length), and the header check reads them without a crash.
#include "voice/WaveDuration.h"
#include "voice/WaveHeader.h"

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView head(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const qint64 fileSize : {qint64(size), qint64(size) + 1'000'000, qint64(0)}) {
        const qint64 ms = WaveDuration::fromHeader(head, fileSize);
        if (ms < -1)
            std::abort();
        if (WaveDuration::playLimitMs(ms) > WaveDuration::kMaxPlayMs)
            std::abort();
        // A file with no bytes is always refused.
        if (fileSize == 0 && WaveHeader::problem(head, fileSize).isEmpty())
            std::abort();
        (void)WaveHeader::problem(head, fileSize);
    }
    return 0;
}
