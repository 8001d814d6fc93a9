// Any bytes as "RigCntrl.txt" give settings in range that the writer turns back into the same
// settings; any bytes as "PEGASUS.OUT" give both values or none, and a real frequency.
#include "rig/PegasusOutFile.h"
#include "rig/RigSettingsFile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

    const RigSettings settings = RigSettingsFile::parse(bytes);
    if (settings.port < 1 || settings.port > RigSettings::kMaxPort || !RigModels::find(settings.rigName)
        || !RigSettings::isBaudText(settings.baudText.trimmed()) || settings.baudText.size() != 5)
        std::abort();
    RigSettings expected = settings;
    expected.frequencyQuery.remove(u'"');  // the writer keeps quotes out of the file
    expected.modeQuery.remove(u'"');
    if (!(RigSettingsFile::parse(RigSettingsFile::serialize(settings)) == expected)) {
        // Line breaks inside a query cannot survive a one-value-a-line file; nothing else may differ.
        if (!settings.frequencyQuery.contains(u'\n') && !settings.modeQuery.contains(u'\n')
            && !settings.frequencyQuery.contains(u'\r') && !settings.modeQuery.contains(u'\r'))
            std::abort();
    }

    const RigReading reading = PegasusOutFile::parse(bytes);
    if (reading.frequencyMHz && (!std::isfinite(*reading.frequencyMHz) || *reading.frequencyMHz < 0))
        std::abort();
    if (!reading.frequencyMHz && reading.mode)
        std::abort();
    return 0;
}
