#pragma once

#include "cw/CwLineSource.h"
#include "platform/ParallelPorts.h"
#include "platform/SerialLine.h"
#include "platform/SerialLineSharing.h"
#include "platform/SerialPortMap.h"

#include <functional>

namespace cubwave {

// The CW keying lines: DTR or RTS of the CW serial line, opened lazily from the port number,
// or the parallel port at the typed address, claimed while "Printer" is chosen.
class CwKeyingLines final : public CwLineSource {
public:
    static inline const QString kInvalidPortTitle = QStringLiteral("Invalid port.");
    static inline const QString kInvalidPortText =
        QStringLiteral("The port you have selected for CW keying is invalid.  Please select another or enter 0 for none.");

    // portMap is read at each open, so an edited "serialports.txt" counts without a restart.
    CwKeyingLines(SerialLine& serial, ParallelPorts& parallel, std::function<SerialPortMap()> portMap,
                  SerialLineSharing* sharing = nullptr);

    // (Re)opens the serial keying line from the port text: closes it, and for a number above 0
    // takes the port from the voice PTT line if that holds it (never from the rig, the TNC or
    // the WinKey keyer) and opens it with DTR and RTS down. "0" opens nothing.
    Line setup(const QString& portText);
    void closeSerial();
    // A serial keying line whose device has gone (unplugged) is closed, so the next sending
    // opens it afresh.
    void closeSerialIfFailed();
    // The settings key a real line now: a serial port that is open, or the claimed parallel port.
    bool keysALine(const CwSettings& settings) const;
    // Shutdown: the serial line closes and the parallel port is let go (key up first).
    void closeAll();
    // Key up on every line held now, whatever is being timed: the exit and error path.
    void dropAll();

    Line lineFor(const CwSettings& settings) override;
    bool holdsAnotherPort(const CwSettings& settings) const override;

    // The device a port number maps to, for the port field's tooltip.
    QString deviceFor(const QString& portText) const;

private:
    SerialLine& serial_;
    ParallelPorts& parallel_;
    std::function<SerialPortMap()> portMap_;
    SerialLineSharing* sharing_;
    int serialPort_ = 0;  // the port number the serial line was opened for
    std::shared_ptr<KeyingLine> printer_;
    quint16 printerAddress_ = 0;
};

}  // namespace cubwave
