#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <vector>

namespace cubwave {

struct FileBytes {
    bool ok = false;
    QString error;  // the system's reason when !ok
    QByteArray bytes;
};

// Reads a whole file. With maxBytes >= 0 it reads at most maxBytes + 1 bytes, so the caller can
// tell a file over its limit without holding all of a huge one in memory.
FileBytes readFileBytes(const QString& path, qint64 maxBytes = -1);

// Decodes one line of a text file into buffer (grown as needed) and returns a view of it: UTF-8,
// or Latin-1 for a line that is no valid UTF-8, as files saved by single-byte Windows tools are.
// latin1, when given, tells which one it was.
QStringView decodeTextLine(QByteArrayView raw, std::vector<QChar>& buffer, bool* latin1 = nullptr);

}  // namespace cubwave
