#include "rig/SerialRigLink.h"

#include "platform/Clock.h"
#include "platform/SerialLine.h"

namespace cubwave {

QString SerialRigLink::lineSettingsText(const RigSettings& settings)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(settings.lineBaudRate())
        .arg(settings.parity)
        .arg(settings.dataBits)
        .arg(settings.stopBits);
}

std::optional<QString> SerialRigLink::open(const RigModel& model, const RigSettings& settings,
                                           const QString& devicePath)
{
    line_.close();
    // With RTS/CTS the driver owns RTS as "ready to receive"; raising it by hand as a power line
    // would fight the flow control, and dropping it would stop the radio from ever answering.
    if (model.rtsCtsFlowControl && settings.powerLine == u'R')
        return QStringLiteral("%1 uses RTS/CTS flow control, so RTS cannot also power the interface. "
                              "Choose DTR or None for the connection power.")
            .arg(QString::fromLatin1(model.name));
    if (devicePath.isEmpty())
        return QStringLiteral("No device is mapped to port %1.").arg(settings.port);
    if (!line_.setHandshaking(model.rtsCtsFlowControl ? kRtsCtsHandshaking : 0)
        || !line_.setSettings(lineSettingsText(settings)))
        return line_.errorText();
    // The line drops DTR and RTS as its first act after opening.
    if (!line_.open(devicePath))
        return line_.errorText();
    // A pseudo-terminal has no modem lines and refuses these; that is no port failure.
    if (model.rtsCtsFlowControl)
        line_.setModemLine(ModemLine::Rts, true);
    if (settings.powerLine == u'R')
        line_.setModemLine(ModemLine::Rts, true);
    else if (settings.powerLine == u'D')
        line_.setModemLine(ModemLine::Dtr, true);
    const QByteArray opening = model.opening();
    if (!opening.isEmpty() && !line_.write(opening)) {
        const QString reason = line_.errorText();
        line_.close();
        return reason;
    }
    return std::nullopt;
}

void SerialRigLink::close() { line_.close(); }

bool SerialRigLink::isOpen() const { return line_.isOpen(); }

void SerialRigLink::drain(Clock& clock)
{
    const qint64 start = clock.ticksMs();
    while (line_.isOpen() && !line_.failed() && line_.outputCount() > 0
           && clock.ticksMs() - start < kDrainLimitMs)
        clock.sleepMs(1);
}

std::optional<qint64> SerialRigLink::pendingOutputBytes()
{
    if (!line_.isOpen())
        return std::nullopt;
    const qint64 count = line_.outputCount();
    if (line_.failed())
        return std::nullopt;
    return count;
}

bool SerialRigLink::send(const QByteArray& bytes)
{
    return line_.isOpen() && line_.write(bytes) && !line_.failed();
}

std::optional<QByteArray> SerialRigLink::takeInput()
{
    if (!line_.isOpen())
        return std::nullopt;
    QByteArray input = line_.readAll();
    if (line_.failed())
        return std::nullopt;
    return input;
}

QString SerialRigLink::failureReason() const
{
    return line_.isOpen() ? line_.errorText() : QStringLiteral("The port is not open");
}

}  // namespace cubwave
