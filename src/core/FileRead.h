#pragma once

#include <QByteArray>
#include <QString>

namespace cubwave {

struct FileBytes {
    bool ok = false;
    QString error;  // the system's reason when !ok
    QByteArray bytes;
};

// Reads a whole file. With maxBytes >= 0 it reads at most maxBytes + 1 bytes, so the caller can
// tell a file over its limit without holding all of a huge one in memory.
FileBytes readFileBytes(const QString& path, qint64 maxBytes = -1);

}  // namespace cubwave
