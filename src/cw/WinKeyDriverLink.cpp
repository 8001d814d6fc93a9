#include "cw/WinKeyDriverLink.h"

namespace cubwave {

bool WinKeyDriverLink::open(const QString& devicePath, std::function<void(const Opened&)> done)
{
    if (driver_.opening())
        return false;
    driver_.open(devicePath, [this, done = std::move(done)](int result, quint8 version) {
        const bool portFailed = result == WinKeyDriver::kPortOpenFailed || result == WinKeyDriver::kGetStateFailed ||
                                result == WinKeyDriver::kSetStateFailed;
        if (done)
            done({result, version, portFailed ? driver_.errorText() : QString()});
    });
    return true;
}

}  // namespace cubwave
