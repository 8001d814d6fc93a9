#include "platform/PpdevParallelPorts.h"

#include "platform/KeyingRelease.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace cubwave {

namespace {

constexpr unsigned char kKeyDown = 3;  // the two lowest control bits
constexpr unsigned char kKeyUp = 2;

QString systemReason(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

class PpdevKeyingLine final : public KeyingLine {
public:
    PpdevKeyingLine(int fd, int slot) : fd_(fd), slot_(slot) {}
    ~PpdevKeyingLine() override
    {
        write(kKeyUp);
        KeyingRelease::remove(slot_);
        ::ioctl(fd_, PPRELEASE);
        ::close(fd_);
    }
    bool setKeyed(bool down) override
    {
        if (down && KeyingRelease::halted()) {
            error_ = QStringLiteral("keying stopped: the program is ending");
            return false;
        }
        if (!write(down ? kKeyDown : kKeyUp))
            return false;
        // A key-down that raced with the halt is taken back at once.
        if (down && KeyingRelease::halted()) {
            write(kKeyUp);
            error_ = QStringLiteral("keying stopped: the program is ending");
            return false;
        }
        return true;
    }
    QString errorText() const override { return error_; }

private:
    bool write(unsigned char value)
    {
        if (::ioctl(fd_, PPWCONTROL, &value) == 0)
            return true;
        error_ = systemReason(errno);
        return false;
    }
    int fd_;
    int slot_;
    QString error_;
};

}  // namespace

PpdevParallelPorts::PpdevParallelPorts(QString procRoot, QString devRoot)
    : procRoot_(std::move(procRoot)), devRoot_(std::move(devRoot))
{
}

QString PpdevParallelPorts::findDevice(const QString& procRoot, const QString& devRoot, quint16 baseAddress)
{
    const QDir proc(procRoot);
    for (const QString& name : proc.entryList({QStringLiteral("parport*")}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        QFile file(proc.absoluteFilePath(name + QStringLiteral("/base-addr")));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // "888\t0": the base address, then the extended one.
        const QByteArray first = file.read(256).simplified().split(' ').value(0);
        bool ok = false;
        if (first.toUInt(&ok) == baseAddress && ok)
            return QDir(devRoot).absoluteFilePath(name);
    }
    return {};
}

ParallelPorts::Opened PpdevParallelPorts::open(quint16 baseAddress)
{
    if (auto existing = open_.value(baseAddress).lock())
        return {existing, {}, {}};
    Opened result;
    result.device = findDevice(procRoot_, devRoot_, baseAddress);
    if (result.device.isEmpty()) {
        result.reason = QStringLiteral("no parallel port at address %1 (are the parport_pc and ppdev modules loaded?)")
                            .arg(baseAddress);
        return result;
    }
    const int fd = ::open(result.device.toLocal8Bit().constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        result.reason = systemReason(errno);
        return result;
    }
    if (::ioctl(fd, PPCLAIM) != 0) {
        result.reason = systemReason(errno);
        ::close(fd);
        return result;
    }
    auto line = std::make_shared<PpdevKeyingLine>(fd, KeyingRelease::addParallel(fd));
    if (!line->setKeyed(false)) {
        result.reason = line->errorText();
        return result;
    }
    open_[baseAddress] = line;
    result.line = line;
    return result;
}

}  // namespace cubwave
