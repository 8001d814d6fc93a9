#include "platform/SerialPortList.h"

#include <QSerialPortInfo>

namespace cubwave {

QStringList availableSerialPorts()
{
    QStringList out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString line = info.systemLocation();
        const QString what = info.description().isEmpty() ? info.manufacturer() : info.description();
        if (!what.isEmpty())
            line += QStringLiteral(" (") + what + QLatin1Char(')');
        out << line;
    }
    return out;
}

}  // namespace cubwave
