#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace cubwave::test {

// Makes a folder immutable while it lives: nothing can be created, renamed or removed in it,
// whoever runs the test (root too), while the files already in it can still be written. A
// replacing write then fails the way a full or read-only disk makes it fail. Needs the right to
// set the flag (CAP_LINUX_IMMUTABLE) and a file system that has it; ok() tells.
class ImmutableFolder {
public:
    explicit ImmutableFolder(const QString& path)
    {
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
        if (fd_ < 0 || ::ioctl(fd_, FS_IOC_GETFLAGS, &oldFlags_) != 0)
            return;
        int flags = oldFlags_ | FS_IMMUTABLE_FL;
        ok_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ~ImmutableFolder()
    {
        if (ok_)
            ::ioctl(fd_, FS_IOC_SETFLAGS, &oldFlags_);
        if (fd_ >= 0)
            ::close(fd_);
    }
    ImmutableFolder(const ImmutableFolder&) = delete;
    ImmutableFolder& operator=(const ImmutableFolder&) = delete;

    bool ok() const { return ok_; }

private:
    int fd_ = -1;
    int oldFlags_ = 0;
    bool ok_ = false;
};

}  // namespace cubwave::test
