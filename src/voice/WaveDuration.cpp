#include "voice/WaveDuration.h"

#include <QFile>

#include <algorithm>

namespace cubwave {

namespace {

quint32 le32(QByteArrayView b, qint64 at)
{
    return static_cast<quint32>(static_cast<uchar>(b[at])) | static_cast<quint32>(static_cast<uchar>(b[at + 1])) << 8 |
           static_cast<quint32>(static_cast<uchar>(b[at + 2])) << 16 |
           static_cast<quint32>(static_cast<uchar>(b[at + 3])) << 24;
}

}  // namespace

qint64 WaveDuration::fromHeader(QByteArrayView head, qint64 fileSize)
{
    if (head.size() < 12 || head.first(4) != "RIFF" || head.sliced(8, 4) != "WAVE")
        return -1;
    fileSize = std::max<qint64>(fileSize, head.size());
    quint32 byteRate = 0;
    qint64 at = 12;
    // Chunks: a four-letter id, a little-endian size, the body padded to an even length.
    while (at + 8 <= head.size()) {
        const QByteArrayView id = head.sliced(at, 4);
        const qint64 size = le32(head, at + 4);
        const qint64 body = at + 8;
        if (id == "fmt ") {
            if (body + 12 > head.size())
                return -1;
            byteRate = le32(head, body + 8);
        } else if (id == "data") {
            if (byteRate == 0)
                return -1;
            const qint64 rest = fileSize - body;
            const qint64 dataBytes = size == 0 || size > rest ? rest : size;
            return dataBytes * 1000 / byteRate;
        }
        at = body + size + (size & 1);
    }
    return -1;
}

qint64 WaveDuration::ofFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = file.read(kHeaderBytes);
    return fromHeader(head, file.size());
}

qint64 WaveDuration::playLimitMs(qint64 durationMs)
{
    if (durationMs < 0)
        return kMaxPlayMs;
    return std::min(durationMs + kMarginMs, kMaxPlayMs);
}

}  // namespace cubwave
