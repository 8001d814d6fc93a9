#include "platform/PosixSerialLine.h"

#include "platform/KeyingRelease.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <utility>

namespace cubwave {

namespace {

QString systemReason(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

int modemBit(ModemLine line) { return line == ModemLine::Dtr ? TIOCM_DTR : TIOCM_RTS; }

// What an unplugged USB adapter or a hung-up terminal answers.
bool deviceGone(int err) { return err == EIO || err == ENXIO || err == ENODEV; }

const QString kHaltedText = QStringLiteral("keying stopped: the program is ending");

// Raises or drops modem bits; a raise is refused once the keying has been halted, and one that
// raced with the halt is taken back, so the program never leaves a line up on its way out.
bool setModemBits(int fd, int bits, bool raise, int& err)
{
    if (raise && KeyingRelease::halted()) {
        err = ECANCELED;
        return false;
    }
    if (::ioctl(fd, raise ? TIOCMBIS : TIOCMBIC, &bits) != 0) {
        err = errno;
        return false;
    }
    if (raise && KeyingRelease::halted()) {
        ::ioctl(fd, TIOCMBIC, &bits);
        err = ECANCELED;
        return false;
    }
    return true;
}

QString modemFailureText(int err) { return err == ECANCELED ? kHaltedText : systemReason(err); }

speed_t speedFor(int baud)
{
    switch (baud) {
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return B0;
    }
}

// DTR or RTS of an open port, raised and dropped from the keying thread. Only ioctls on a
// descriptor that the window thread keeps open while a character is timed.
class ModemKeyingLine final : public KeyingLine {
public:
    ModemKeyingLine(int fd, int bit, std::shared_ptr<std::atomic<bool>> gone)
        : fd_(fd), bit_(bit), gone_(std::move(gone))
    {
    }
    bool setKeyed(bool down) override
    {
        int err = 0;
        if (setModemBits(fd_, bit_, down, err))
            return true;
        if (deviceGone(err))
            gone_->store(true);
        error_ = modemFailureText(err);
        return false;
    }
    QString errorText() const override { return error_; }

private:
    int fd_;
    int bit_;
    std::shared_ptr<std::atomic<bool>> gone_;
    QString error_;
};

}  // namespace

PosixSerialLine::PosixSerialLine(QObject* parent) : QObject(parent) {}

PosixSerialLine::~PosixSerialLine() { close(); }

void PosixSerialLine::share(SerialLineSharing& sharing, SerialLineSharing::User user)
{
    sharing_ = &sharing;
    user_ = user;
}

bool PosixSerialLine::failed() const { return failed_ || gone_->load(); }

void PosixSerialLine::modemRequestFailed(int err)
{
    error_ = modemFailureText(err);
    if (!deviceGone(err))
        return;
    const QString why = error_;
    close();
    failed_ = true;
    error_ = why;
}

bool PosixSerialLine::fail(const QString& what)
{
    error_ = what;
    close();
    return false;
}

void PosixSerialLine::lineFailed(int err)
{
    failed_ = true;
    error_ = systemReason(err);
}

bool PosixSerialLine::open(const QString& devicePath)
{
    close();
    path_ = devicePath;
    error_.clear();
    failed_ = false;
    usedByAnother_ = false;
    gone_ = std::make_shared<std::atomic<bool>>(false);
    fd_ = ::open(devicePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = systemReason(errno);
        return false;
    }
    // Before any request on the port: one that another line holds keeps its lines as they are.
    if (sharing_) {
        if (const auto device = SerialLineSharing::deviceIdOf(fd_)) {
            std::optional<SerialLineSharing::User> holder;
            if (!sharing_->claim(*device, user_, &holder)) {
                ::close(fd_);
                fd_ = -1;
                usedByAnother_ = true;
                error_ = SerialLineSharing::usedByText(devicePath, *holder);
                return false;
            }
            claimed_ = device;
        }
    }
    // First act: the kernel raised DTR and RTS on open, and either may key a transmitter.
    int bits = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd_, TIOCMBIC, &bits);
    if (!::isatty(fd_))
        return fail(QStringLiteral("%1 is not a serial port").arg(devicePath));
    releaseSlot_ = KeyingRelease::addSerial(fd_, TIOCM_DTR | TIOCM_RTS);
    farewell_.clear();
    if (::ioctl(fd_, TIOCEXCL) != 0)
        return fail(systemReason(errno));
    if (!applyTermios())
        return fail(error_);
    ::tcflush(fd_, TCIOFLUSH);
    writable_ = new QSocketNotifier(fd_, QSocketNotifier::Write, this);
    writable_->setEnabled(false);
    connect(writable_, &QSocketNotifier::activated, this, [this] { flushQueued(); });
    return true;
}

void PosixSerialLine::applyLineSettings(termios& t, const SerialSettings& settings, int handshaking)
{
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD | HUPCL;
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    switch (settings.dataBits) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    default: t.c_cflag |= CS8; break;
    }
    if (settings.parity == 'E')
        t.c_cflag |= PARENB;
    else if (settings.parity == 'O')
        t.c_cflag |= PARENB | PARODD;
    if (settings.stopBits == 2)
        t.c_cflag |= CSTOPB;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (handshaking == 1 || handshaking == 3)
        t.c_iflag |= IXON | IXOFF;
    if (handshaking == 2 || handshaking == 3)
        t.c_cflag |= CRTSCTS;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    const speed_t speed = speedFor(settings.baud);
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
}

bool PosixSerialLine::applyTermios()
{
    termios t{};
    if (::tcgetattr(fd_, &t) != 0) {
        error_ = systemReason(errno);
        return false;
    }
    applyLineSettings(t, settings_, handshaking_);
    if (::tcsetattr(fd_, TCSANOW, &t) != 0) {
        error_ = systemReason(errno);
        return false;
    }
    return true;
}

void PosixSerialLine::close()
{
    delete writable_;
    writable_ = nullptr;
    queued_.clear();
    if (fd_ < 0)
        return;
    KeyingRelease::remove(releaseSlot_);
    releaseSlot_ = -1;
    farewell_.clear();
    int bits = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd_, TIOCMBIC, &bits);
    ::close(fd_);
    fd_ = -1;
    if (sharing_ && claimed_)
        sharing_->release(*std::exchange(claimed_, std::nullopt), user_);
}

bool PosixSerialLine::isOpen() const { return fd_ >= 0; }

bool PosixSerialLine::setSettings(const QString& settings)
{
    const auto parsed = SerialSettings::parse(settings);
    if (!parsed) {
        error_ = QStringLiteral("Invalid line settings \"%1\"").arg(settings);
        return false;
    }
    settings_ = *parsed;
    return fd_ < 0 || applyTermios();
}

bool PosixSerialLine::setHandshaking(int mode)
{
    if (mode < 0 || mode > 3) {
        error_ = QStringLiteral("Invalid handshaking %1").arg(mode);
        return false;
    }
    handshaking_ = mode;
    return fd_ < 0 || applyTermios();
}

bool PosixSerialLine::setModemLine(ModemLine line, bool raised)
{
    if (fd_ < 0) {
        error_ = QStringLiteral("The port is not open");
        return false;
    }
    int err = 0;
    if (setModemBits(fd_, modemBit(line), raised, err))
        return true;
    modemRequestFailed(err);
    return false;
}

void PosixSerialLine::setFarewell(const QByteArray& bytes)
{
    farewell_ = bytes.left(KeyingRelease::kMaxFarewell);
    KeyingRelease::setFarewell(releaseSlot_, farewell_.constData(), int(farewell_.size()));
}

bool PosixSerialLine::write(const QByteArray& bytes)
{
    if (fd_ < 0) {
        error_ = QStringLiteral("The port is not open");
        return false;
    }
    if (queued_.size() + bytes.size() > kMaxQueuedBytes) {
        error_ = QStringLiteral("The port's output queue is full");
        return false;
    }
    queued_ += bytes;
    flushQueued();
    return fd_ >= 0 && !failed_;
}

void PosixSerialLine::flushQueued()
{
    while (fd_ >= 0 && !queued_.isEmpty()) {
        const ssize_t n = ::write(fd_, queued_.constData(), static_cast<size_t>(queued_.size()));
        if (n > 0) {
            queued_.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            lineFailed(errno);
            queued_.clear();
        }
        break;
    }
    if (writable_)
        writable_->setEnabled(!queued_.isEmpty());
}

QByteArray PosixSerialLine::readAll()
{
    QByteArray out;
    if (fd_ < 0)
        return out;
    char buf[4096];
    while (out.size() < kMaxReadBytes) {
        const size_t want = static_cast<size_t>(std::min<qsizetype>(sizeof buf, kMaxReadBytes - out.size()));
        const ssize_t n = ::read(fd_, buf, want);
        if (n > 0) {
            out.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // An unplugged adapter or a closed pty peer reads EIO; nothing waiting reads 0 or EAGAIN.
        if (n < 0 && errno != EAGAIN)
            lineFailed(errno);
        break;
    }
    return out;
}

qint64 PosixSerialLine::outputCount()
{
    flushQueued();
    if (fd_ < 0)
        return 0;
    int inKernel = 0;
    if (::ioctl(fd_, TIOCOUTQ, &inKernel) != 0) {
        if (deviceGone(errno))
            lineFailed(errno);
        inKernel = 0;
    }
    return queued_.size() + inKernel;
}

void PosixSerialLine::discardOutput()
{
    queued_.clear();
    if (writable_)
        writable_->setEnabled(false);
    if (fd_ >= 0)
        ::tcflush(fd_, TCOFLUSH);
}

std::shared_ptr<KeyingLine> PosixSerialLine::modemKeyingLine(ModemLine line)
{
    if (fd_ < 0)
        return nullptr;
    return std::make_shared<ModemKeyingLine>(fd_, modemBit(line), gone_);
}

}  // namespace cubwave
