// Any bytes handed to the preference reader must give a clean refusal or values that the writer
// turns back into the same values.
#include "core/Preferences.h"

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     static_cast<qsizetype>(size));
    const std::optional<Preferences> prefs = PrefFile::parse(bytes);
    if (!prefs)
        return 0;
    const std::optional<Preferences> again = PrefFile::parse(PrefFile::serialize(*prefs));
    if (!again || !(*again == *prefs))
        std::abort();
    return 0;
}
