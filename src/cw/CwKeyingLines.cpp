#include "cw/CwKeyingLines.h"

#include "cw/CwNumber.h"

#include <cmath>

namespace cubwave {

namespace {

int portNumber(const QString& text)
{
    const auto n = CwNumber::parse(text);
    if (!n || *n < 1 || *n > SerialPortMap::kMaxPort)
        return 0;
    return static_cast<int>(std::floor(*n));
}

bool keysSerial(const CwSettings& settings) { return settings.cwInterface == kCwRts || settings.cwInterface == kCwDtr; }

}  // namespace

CwKeyingLines::CwKeyingLines(SerialLine& serial, ParallelPorts& parallel, std::function<SerialPortMap()> portMap,
                             SerialLineSharing* sharing)
    : serial_(serial), parallel_(parallel), portMap_(std::move(portMap)), sharing_(sharing)
{
}

QString CwKeyingLines::deviceFor(const QString& portText) const
{
    const int port = portNumber(portText);
    return port > 0 ? portMap_().devicePath(port) : QString();
}

void CwKeyingLines::closeSerial() { serial_.close(); }

void CwKeyingLines::closeSerialIfFailed()
{
    if (serial_.isOpen() && serial_.failed())
        serial_.close();
}

bool CwKeyingLines::keysALine(const CwSettings& settings) const
{
    if (keysSerial(settings))
        return serial_.isOpen();
    return settings.cwInterface == kCwPrinter && printer_ != nullptr;
}

void CwKeyingLines::closeAll()
{
    serial_.close();
    if (printer_)
        printer_->setKeyed(false);
    printer_.reset();
}

void CwKeyingLines::dropAll()
{
    if (serial_.isOpen()) {
        serial_.setModemLine(ModemLine::Dtr, false);
        serial_.setModemLine(ModemLine::Rts, false);
    }
    if (printer_)
        printer_->setKeyed(false);
}

CwLineSource::Line CwKeyingLines::setup(const QString& portText)
{
    serial_.close();
    const int port = portNumber(portText);
    if (port <= 0)
        return {std::make_shared<NullKeyingLine>(), {}, {}, {}};
    const QString device = portMap_().devicePath(port);
    if (sharing_) {
        using User = SerialLineSharing::User;
        const SerialLineSharing::Taking taking = sharing_->take(User::CwKeying, device, {});
        // Only the PTT line gives a port up to this one, and it does so at once.
        if (taking.outcome != SerialLineSharing::Outcome::Free) {
            sharing_->cancelWaiting(User::CwKeying);
            return {nullptr, kInvalidPortTitle, kInvalidPortText,
                    SerialLineSharing::usedByText(device, taking.holder.value_or(User::VoicePtt))};
        }
    }
    if (!serial_.open(device))
        return {nullptr, kInvalidPortTitle, kInvalidPortText, device + QStringLiteral(": ") + serial_.errorText()};
    serialPort_ = port;
    return {std::make_shared<NullKeyingLine>(), {}, {}, {}};
}

bool CwKeyingLines::holdsAnotherPort(const CwSettings& settings) const
{
    return keysSerial(settings) && serial_.isOpen() && serialPort_ != portNumber(settings.port);
}

CwLineSource::Line CwKeyingLines::lineFor(const CwSettings& settings)
{
    if (settings.cwInterface != kCwPrinter)
        printer_.reset();  // releases the parallel port (key up first) unless voice holds it
    if (keysSerial(settings)) {
        // The line follows the port the settings name: port "0" keys nothing.
        if (!serial_.isOpen() || holdsAnotherPort(settings)) {
            Line opened = setup(settings.port);
            if (!opened.line || !serial_.isOpen())
                return opened;  // a failure, or port "0": timed without a line
        }
        return {serial_.modemKeyingLine(settings.cwInterface == kCwRts ? ModemLine::Rts : ModemLine::Dtr), {}, {}, {}};
    }
    if (settings.cwInterface == kCwPrinter) {
        const auto address = CwNumber::parseAddress(settings.address);
        if (!address)
            return {nullptr, {}, {}, QStringLiteral("Parallel port address \"%1\" is not a port address").arg(settings.address)};
        if (!printer_ || printerAddress_ != *address) {
            printer_.reset();
            const ParallelPorts::Opened opened = parallel_.open(*address);
            if (!opened.line) {
                const QString where = opened.device.isEmpty() ? QStringLiteral("Parallel port") : opened.device;
                return {nullptr, {}, {}, where + QStringLiteral(": ") + opened.reason};
            }
            printer_ = opened.line;
            printerAddress_ = *address;
        }
        return {printer_, {}, {}, {}};
    }
    return {std::make_shared<NullKeyingLine>(), {}, {}, {}};
}

}  // namespace cubwave
