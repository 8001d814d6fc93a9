#pragma once

#include "platform/SerialLine.h"
#include "platform/SerialLineSharing.h"
#include "platform/SerialSettings.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <optional>

class QSocketNotifier;
struct termios;

namespace cubwave {

// A serial line on a Linux terminal device through termios: raw 8-bit, exclusive, non-blocking.
// Linux raises DTR and RTS when a port opens, so dropping them is the first act after open(),
// and HUPCL makes the kernel drop them if the program dies without closing.
class PosixSerialLine final : public QObject, public SerialLine {
    Q_OBJECT

public:
    // Bytes waiting for the line beyond what the kernel takes; a rig command is a few dozen.
    static constexpr qsizetype kMaxQueuedBytes = 1024 * 1024;
    // Bytes returned by one readAll(); the rest waits for the next.
    static constexpr qsizetype kMaxReadBytes = 64 * 1024;

    explicit PosixSerialLine(QObject* parent = nullptr);

    // The registry of port holders this line claims its device in, as the given user. Without
    // one the line keeps no other line off its port.
    void share(SerialLineSharing& sharing, SerialLineSharing::User user);
    // The last open failed because another line of this program holds the port.
    bool usedByAnotherLine() const { return usedByAnother_; }

    // Raw 8-bit framing, HUPCL and the handshaking on a set of terminal settings. Mode 3 sets
    // RTS/CTS and XON/XOFF at once, which QSerialPort cannot express; termios can.
    static void applyLineSettings(termios& t, const SerialSettings& settings, int handshaking);
    ~PosixSerialLine() override;

    bool open(const QString& devicePath) override;
    void close() override;
    bool isOpen() const override;
    QString devicePath() const override { return path_; }
    QString errorText() const override { return error_; }
    bool setSettings(const QString& settings) override;
    bool setHandshaking(int mode) override;
    bool setModemLine(ModemLine line, bool raised) override;
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    qint64 outputCount() override;
    void discardOutput() override;
    bool failed() const override;
    void setFarewell(const QByteArray& bytes) override;
    std::shared_ptr<KeyingLine> modemKeyingLine(ModemLine line) override;

private:
    bool applyTermios();
    void flushQueued();
    bool fail(const QString& what);
    // A read, write or queue query failed for a reason other than "try again".
    void lineFailed(int err);
    // A modem-line request failed: a device that is gone (unplugged) closes the line at once,
    // so the adapter gets its old name back when it is put in again.
    void modemRequestFailed(int err);

    int fd_ = -1;
    int releaseSlot_ = -1;
    QString path_;
    QString error_;
    bool failed_ = false;
    bool usedByAnother_ = false;
    SerialLineSharing* sharing_ = nullptr;
    SerialLineSharing::User user_ = SerialLineSharing::User::Rig;
    std::optional<SerialLineSharing::DeviceId> claimed_;
    // Set by a keying line on the keying thread when the device has gone; read on this thread.
    std::shared_ptr<std::atomic<bool>> gone_ = std::make_shared<std::atomic<bool>>(false);
    SerialSettings settings_;
    int handshaking_ = 0;
    QByteArray queued_;
    QByteArray farewell_;
    QSocketNotifier* writable_ = nullptr;
};

}  // namespace cubwave
