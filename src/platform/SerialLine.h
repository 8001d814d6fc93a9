#pragma once

#include "platform/KeyingLine.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace cubwave {

enum class ModemLine { Dtr, Rts };

// One serial line: the CW keying line, the voice PTT line, the rig's CAT line or the TNC's.
// Raw 8-bit bytes 0..255 in order both ways; input is polled and never waits.
class SerialLine {
public:
    virtual ~SerialLine() = default;

    // Opens the device exclusively, drops DTR and RTS, applies the settings and handshaking.
    // False with errorText() (the system's reason) when the port is absent, busy, not a
    // terminal or refuses the settings; the line is then closed.
    virtual bool open(const QString& devicePath) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString devicePath() const = 0;
    virtual QString errorText() const = 0;

    // "9600,N,8,1": baud, parity N/O/E, data bits, stop bits. Kept for the next open and
    // applied at once when open. False for text that does not describe a line setting.
    virtual bool setSettings(const QString& settings) = 0;
    // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both.
    virtual bool setHandshaking(int mode) = 0;

    virtual bool setModemLine(ModemLine line, bool raised) = 0;

    // Queues bytes for sending in order; false when the line is closed or its queue is full.
    virtual bool write(const QByteArray& bytes) = 0;
    // Everything received since the last read, up to a bounded amount; empty when nothing is.
    virtual QByteArray readAll() = 0;
    // Bytes still to go out: the line's own queue and the kernel's.
    virtual qint64 outputCount() = 0;
    // Throws away the bytes not yet sent, the line's own queue and the kernel's. Only for a line
    // whose last bytes do not matter (the TNC's): closing a tty otherwise waits, up to 30 s,
    // for a peer that has stopped taking them.
    virtual void discardOutput() = 0;
    // True once the device has failed while open (unplugged, hung up, I/O error); errorText()
    // then gives the system's reason. Cleared by the next open().
    virtual bool failed() const { return false; }
    // Bytes the exit paths (a normal exit, a fatal or termination signal) write to the open
    // device in one write before its modem lines drop, so a device holding a command gets the
    // word to stop; empty for none. Forgotten at close.
    virtual void setFarewell(const QByteArray& bytes) { (void)bytes; }

    // DTR or RTS of this port as a keying line for the keying thread. Valid while the port
    // stays open; the port is only closed between characters.
    virtual std::shared_ptr<KeyingLine> modemKeyingLine(ModemLine line) = 0;
};

}  // namespace cubwave
