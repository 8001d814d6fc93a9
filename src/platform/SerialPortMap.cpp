#include "platform/SerialPortMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace cubwave {

SerialPortMap SerialPortMap::parse(const QByteArray& bytes)
{
    SerialPortMap map;
    if (bytes.size() > kMaxBytes)
        return map;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    for (QStringView line : QStringView(text).split(u'\n')) {
        const qsizetype hash = line.indexOf(u'#');
        if (hash >= 0)
            line = line.left(hash);
        line = line.trimmed();
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QStringView number = line.left(eq).trimmed();
        const QStringView path = line.mid(eq + 1).trimmed();
        bool ok = number.size() <= 3;
        const int port = ok ? number.toInt(&ok) : 0;
        if (!ok || port < 1 || port > kMaxPort)
            continue;
        if (!path.startsWith(u'/') || path.size() > kMaxPathLength || path.contains(QChar(0)))
            continue;
        map.mapped_[port] = path.toString();
    }
    return map;
}

SerialPortMap SerialPortMap::load(const QString& dir) { return read(dir).map; }

SerialPortMap::Loaded SerialPortMap::read(const QString& dir)
{
    const QString path = QDir(dir).absoluteFilePath(kFileName);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (info.isDir())
        return {{}, QStringLiteral("it is a folder")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    const QByteArray bytes = file.read(kMaxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    if (bytes.size() > kMaxBytes)
        return {{}, QStringLiteral("it is larger than %1 KB").arg(kMaxBytes / 1024)};
    if (bytes.contains('\0'))
        return {{}, QStringLiteral("it holds NUL bytes, so it is no text file")};
    return {parse(bytes), std::nullopt};
}

QString SerialPortMap::devicePath(int port) const
{
    if (port < 1 || port > kMaxPort)
        return {};
    const auto it = mapped_.find(port);
    if (it != mapped_.end())
        return *it;
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

}  // namespace cubwave
