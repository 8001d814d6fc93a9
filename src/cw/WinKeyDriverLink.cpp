#include "cw/WinKeyDriverLink.h"

namespace cubwave {

bool WinKeyDriverLink::open(const QString& devicePath, std::function<void(const Opened&)> done)
{
    if (driver_.opening())
        return false;
    driver_.open(devicePath, [this, devicePath, done = std::move(done)](int result, quint8 version) {
        const bool portFailed = result == WinKeyDriver::kPortOpenFailed || result == WinKeyDriver::kGetStateFailed ||
                                result == WinKeyDriver::kSetStateFailed;
        // The status line names the device, as it does for the other lines.
        QString reason;
        if (portFailed) {
            reason = driver_.errorText();
            if (!reason.contains(devicePath))
                reason = devicePath + QStringLiteral(": ") + reason;
        }
        if (done)
            done({result, version, reason});
    });
    return true;
}

}  // namespace cubwave
