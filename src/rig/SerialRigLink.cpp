#include "rig/SerialRigLink.h"

#include "platform/SerialLine.h"

namespace cubwave {

std::optional<qint64> SerialRigLink::pendingOutputBytes()
{
    if (!line_.isOpen())
        return std::nullopt;
    return line_.outputCount();
}

bool SerialRigLink::send(const QByteArray& bytes) { return line_.isOpen() && line_.write(bytes); }

std::optional<QByteArray> SerialRigLink::takeInput()
{
    if (!line_.isOpen())
        return std::nullopt;
    return line_.readAll();
}

QString SerialRigLink::failureReason() const
{
    const QString reason = line_.errorText();
    return reason.isEmpty() ? QStringLiteral("The rig's serial port is closed.") : reason;
}

}  // namespace cubwave
