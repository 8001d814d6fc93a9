#include "core/FileWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace cubwave {

namespace {

// Devices and some file systems cannot sync; that is no write failure.
bool syncFailed(int fd)
{
    if (::fsync(fd) == 0)
        return false;
    return errno != EINVAL && errno != EROFS && errno != ENOTSUP;
}

void syncFolderOf(const QString& path)
{
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

WriteResult replaceFileAtomically(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    // Unbuffered: a buffered write "succeeds" into memory and the failure of the final flush
    // (a full disk) never reaches commit(), which would rename a cut-off file into place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    if (file.write(contents) != contents.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, reason};
    }
    // QSaveFile syncs the temporary file to disk before renaming it into place.
    if (!file.commit())
        return {false, file.errorString()};
    syncFolderOf(path);
    return {};
}

WriteResult appendAndSync(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return {false, file.errorString()};
    const qint64 oldSize = file.size();
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.flush() || syncFailed(file.handle())) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QString::fromLocal8Bit(std::strerror(errno));
        if (file.isOpen() && oldSize >= 0 && file.size() > oldSize)
            file.resize(oldSize);
        return {false, reason};
    }
    file.close();
    return {};
}

}  // namespace cubwave
