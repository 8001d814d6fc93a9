// Any bytes handed to the voice message list reader give settings (never a crash), and what the
// writer makes of them reads back unchanged from then on.
#include "voice/VoiceMessageFile.h"

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     static_cast<qsizetype>(size));
    const VoiceSettings read = VoiceMessageFile::parse(bytes);
    const int line = static_cast<int>(read.pttLine);
    if (line < 0 || line > 2)
        std::abort();
    const QByteArray written = VoiceMessageFile::serialize(read);
    if (written.count("\r\n") != VoiceMessageFile::kValueCount)
        std::abort();  // a value broke its line
    const VoiceSettings once = VoiceMessageFile::parse(written);
    const VoiceSettings twice = VoiceMessageFile::parse(VoiceMessageFile::serialize(once));
    if (!(once == twice) || once.port != read.port || once.address != read.address)
        std::abort();
    const int port = read.portNumber();
    if (port < -1 || port > 255)
        std::abort();
    if (read.repeatIntervalMs() < 0 || read.repeatIntervalMs() >= 60000)
        std::abort();
    return 0;
}
