// Any bytes handed to the port map reader give a map (never a crash) whose every device is an
// absolute path for a port number in range.
#include "platform/SerialPortMap.h"

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     static_cast<qsizetype>(size));
    const SerialPortMap map = SerialPortMap::parse(bytes);
    for (auto it = map.mapped().begin(); it != map.mapped().end(); ++it) {
        if (it.key() < 1 || it.key() > SerialPortMap::kMaxPort || !it.value().startsWith(QLatin1Char('/')))
            std::abort();
    }
    for (int port : {-1, 0, 1, 2, 10, SerialPortMap::kMaxPort, SerialPortMap::kMaxPort + 1}) {
        const bool inRange = port >= 1 && port <= SerialPortMap::kMaxPort;
        if (map.devicePath(port).isEmpty() == inRange)
            std::abort();
    }
    return 0;
}
