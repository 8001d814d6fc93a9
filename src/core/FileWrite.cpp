#include "core/FileWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cubwave {

namespace {

const QLatin1String kTemporaryMarker(".cubwave-tmp-");
constexpr int kTemporaryTailLength = 6;

QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

WriteResult readOnlyRefusal(const QString& why) { return {false, why, true}; }

// An existing file the operator made read-only stays as it is. Root passes every permission
// check, and a rename replaces a file whatever its mode, so the write bits are looked at here:
// none set means read-only for everyone. A file this user may not write is refused too, or the
// rename in a writable folder would replace it behind its owner's back.
std::optional<WriteResult> refusedExisting(const QByteArray& target, const struct stat& st)
{
    if ((st.st_mode & 0222) == 0)
        return readOnlyRefusal(readOnlyReason());
    if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0 && errno != ENOENT)
        return readOnlyRefusal(reason(errno));
    return std::nullopt;
}

// Devices and some file systems cannot sync; that is no write failure.
bool syncFailed(int fd)
{
    if (::fsync(fd) == 0)
        return false;
    return errno != EINVAL && errno != EROFS && errno != ENOTSUP;
}

// Every byte or failure with errno set: a short write (the disk filled up part way) is retried,
// so its cause is the error of the next call.
bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(std::min<qint64>(left, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

void syncFolderOf(const QString& path)
{
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The file a write to path lands in: a symbolic link's target, so the link stays a link.
QString writeTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? info.symLinkTarget() : target;  // a dangling link names the new file
}

// Moves the finished temporary file to its place without replacing a file already there.
int renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without that rename: a hard link fails on an existing name just the same.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP)
        return errno;
    struct stat st {};
    if (::lstat(to.constData(), &st) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

// Fills the temporary file; returns how many bytes the file must hold, or -1 with errno set.
using Filler = std::function<qint64(int fd)>;

QString shortCopy(qint64 held, qint64 expected)
{
    return QStringLiteral("the copy holds %1 of %2 bytes").arg(held).arg(expected);
}

WriteResult writeWhole(const QString& requested, const Filler& fill, ExistingFile existing)
{
    const QString path = existing == ExistingFile::Replace ? writeTarget(requested) : requested;
    const QByteArray target = QFile::encodeName(path);
    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    if (existing == ExistingFile::Keep && ::lstat(target.constData(), &old) == 0)
        return {false, reason(EEXIST)};
    if (replacing) {
        if (std::optional<WriteResult> refused = refusedExisting(target, old))
            return *refused;
    }

    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        temporary = QFile::encodeName(temporaryNameFor(path));
        // Made like any new file (0666 less the umask); a replaced file keeps its own mode.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return {false, reason(errno)};
    }
    if (fd < 0)
        return {false, reason(EEXIST)};
    const auto fail = [&](int error) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.constData());
        return WriteResult{false, reason(error)};
    };
    if (replacing)
        ::fchmod(fd, old.st_mode & 07777);
    const qint64 expected = fill(fd);
    if (expected < 0 || syncFailed(fd))
        return fail(errno);
    // What is relied on next (a log erased after its backup, a restored log reloaded) needs
    // every byte on the disk, so the synced file itself is measured.
    struct stat written {};
    if (::fstat(fd, &written) != 0)
        return fail(errno);
    if (written.st_size != expected) {
        WriteResult result = fail(EIO);
        result.error = shortCopy(written.st_size, expected);
        return result;
    }
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR)
        return fail(errno);

    const int renamed = existing == ExistingFile::Replace
                            ? (::rename(temporary.constData(), target.constData()) == 0 ? 0 : errno)
                            : renameNoReplace(temporary, target);
    if (renamed != 0)
        return fail(renamed);
    // The new name itself must reach the disk, or a power cut could bring the old file back.
    syncFolderOf(path);
    return {};
}

WriteResult append(const QString& path, const QByteArray& bytes, bool endOpenLine)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), (endOpenLine ? O_RDWR : O_WRONLY) | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return {false, reason(errno)};
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const off_t oldSize = regular ? st.st_size : 0;
    // Opened, so this user may write it; only the write bits remain to be looked at.
    if (regular && (st.st_mode & 0222) == 0) {
        ::close(fd);
        return readOnlyRefusal(readOnlyReason());
    }

    QByteArray out;
    char last = '\n';
    if (endOpenLine && oldSize > 0 && ::pread(fd, &last, 1, oldSize - 1) == 1 && last != '\n')
        out = last == '\r' ? QByteArray("\n") : QByteArray("\r\n");
    out += bytes;

    if (!writeAll(fd, out) || syncFailed(fd)) {
        const int error = errno;
        if (regular && ::ftruncate(fd, oldSize) == 0)
            ::fsync(fd);
        ::close(fd);
        return {false, reason(error)};
    }
    ::close(fd);  // the bytes are on the device already
    return {};
}

Filler bytesFiller(const QByteArray& contents)
{
    return [&contents](int fd) { return writeAll(fd, contents) ? contents.size() : qint64(-1); };
}

}  // namespace

QString readOnlyReason() { return QStringLiteral("the file is read-only"); }

WriteResult replaceFileAtomically(const QString& path, const QByteArray& contents)
{
    return writeWhole(path, bytesFiller(contents), ExistingFile::Replace);
}

WriteResult writeNewFileAtomically(const QString& path, const QByteArray& contents)
{
    return writeWhole(path, bytesFiller(contents), ExistingFile::Keep);
}

WriteResult copyFileAtomically(const QString& source, const QString& path, ExistingFile existing)
{
    const int in = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return {false, reason(errno)};
    struct stat st {};
    if (::fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(in);
        return {false, reason(error)};
    }
    qint64 sourceBytes = 0;
    qint64 sourceSize = -1;  // set when the source ended short of its size
    WriteResult result = writeWhole(path, [&](int fd) -> qint64 {
        QByteArray chunk(64 * 1024, Qt::Uninitialized);
        while (true) {
            const ssize_t n = ::read(in, chunk.data(), static_cast<size_t>(chunk.size()));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return -1;
            if (n == 0)
                break;
            if (!writeAll(fd, QByteArray::fromRawData(chunk.constData(), n)))
                return -1;
            sourceBytes += n;
        }
        // The whole source was read: as many bytes as it holds now.
        struct stat now {};
        if (::fstat(in, &now) == 0 && S_ISREG(now.st_mode) && now.st_size != sourceBytes) {
            sourceSize = now.st_size;
            errno = EIO;
            return -1;
        }
        return sourceBytes;
    }, existing);
    ::close(in);
    if (sourceSize >= 0)
        result.error = shortCopy(sourceBytes, sourceSize);
    return result;
}

QString temporaryNameFor(const QString& path)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString tail;
    for (int i = 0; i < kTemporaryTailLength; ++i)
        tail += QLatin1Char(kAlphabet[QRandomGenerator::global()->bounded(int(sizeof kAlphabet - 1))]);
    const QFileInfo info(path);
    return QDir(info.path()).filePath(QLatin1Char('.') + info.fileName() + kTemporaryMarker + tail);
}

bool isLeftoverTemporaryFile(const QString& fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.cubwave-tmp-[A-Za-z0-9]{%1}$")
                                                .arg(kTemporaryTailLength));
    return pattern.match(fileName).hasMatch();
}

int removeLeftoverTemporaryFiles(const QString& folder)
{
    int removed = 0;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (isLeftoverTemporaryFile(entry.fileName()) && QFile::remove(entry.filePath()))
            ++removed;
    }
    return removed;
}

WriteResult appendAndSync(const QString& path, const QByteArray& bytes) { return append(path, bytes, false); }

WriteResult appendLineAndSync(const QString& path, const QByteArray& line) { return append(path, line, true); }

}  // namespace cubwave
