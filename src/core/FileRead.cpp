#include "core/FileRead.h"

#include <QFile>

namespace cubwave {

FileBytes readFileBytes(const QString& path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, file.errorString(), {}};
    FileBytes result;
    result.bytes = maxBytes < 0 ? file.readAll() : file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {false, file.errorString(), {}};
    result.ok = true;
    return result;
}

}  // namespace cubwave
