#pragma once

#include "rig/RigLink.h"

#include <QString>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace cubwave::test {

// The poll's line on a pseudo-terminal, for tests against a RigSimulator: non-blocking reads,
// the kernel's output queue as the pending count.
class PtyRigLink final : public RigLink {
public:
    explicit PtyRigLink(const QString& path)
    {
        fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0)
            return;
        termios raw{};
        ::tcgetattr(fd_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(fd_, TCSANOW, &raw);
    }
    ~PtyRigLink() override
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool isOpen() const { return fd_ >= 0; }

    std::optional<qint64> pendingOutputBytes() override
    {
        int queued = 0;
        if (::ioctl(fd_, TIOCOUTQ, &queued) != 0)
            return failed();
        return queued;
    }
    bool send(const QByteArray& bytes) override
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0) {
                done += n;
            } else if (errno == EAGAIN) {
                pollfd p{fd_, POLLOUT, 0};
                ::poll(&p, 1, 100);
            } else {
                failed();
                return false;
            }
        }
        return true;
    }
    std::optional<QByteArray> takeInput() override
    {
        QByteArray input;
        char buffer[4096];
        while (input.size() < 64 * 1024) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0) {
                input.append(buffer, n);
                continue;
            }
            if (n < 0 && errno != EAGAIN)
                return failed();
            break;
        }
        return input;
    }
    QString failureReason() const override { return reason_; }

private:
    std::nullopt_t failed()
    {
        reason_ = QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }

    int fd_ = -1;
    QString reason_;
};

}  // namespace cubwave::test
