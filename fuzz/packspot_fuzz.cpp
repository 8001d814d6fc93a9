// Any bytes as "PackSpot.txt" give either settings in range that the writer turns back into
// the same settings, or the defaults with the type "None" and a reason.
#include "spots/PackSpotFile.h"

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto parsed = PackSpotFile::parse(bytes);
    const PackSpotSettings& s = parsed.settings;
    if (parsed.problem) {
        if (!(s == PackSpotSettings{}) || parsed.problem->isEmpty())
            std::abort();
        return 0;
    }
    if (s.port < 1 || s.port > PackSpotSettings::kMaxPort || s.handshaking < 1 || s.handshaking > 4
        || !PackSpotSettings::connectionTypeNamed(s.connectionType)
        || *PackSpotSettings::connectionTypeNamed(s.connectionType) != s.connectionType
        || !QStringView(u"ONE").contains(s.parity) || !QStringView(u"78").contains(s.dataBits)
        || !QStringView(u"12").contains(s.stopBits) || !QStringView(u"NRD").contains(s.powerLine))
        std::abort();
    PackSpotSettings expected = s;
    // The writer keeps NUL out of the file; the reader of a whole file refuses NUL anyway.
    for (QString* text : {&expected.commandHex, &expected.telnetPort, &expected.telnetHost})
        text->remove(QChar(0));
    const auto again = PackSpotFile::parse(PackSpotFile::serialize(s));
    if (again.problem || !(again.settings == expected))
        std::abort();
    return 0;
}
