#include "voice/WaveDuration.h"

#include "voice/RiffChunk.h"

#include <QFile>

#include <algorithm>

namespace cubwave {

qint64 WaveDuration::fromHeader(QByteArrayView head, qint64 fileSize)
{
    if (head.size() < 12 || head.first(4) != "RIFF" || head.sliced(8, 4) != "WAVE")
        return -1;
    fileSize = std::max<qint64>(fileSize, head.size());
    quint32 byteRate = 0;
    for (auto chunk = RiffChunk::at(head, RiffChunk::kFirst); chunk; chunk = RiffChunk::at(head, chunk->next())) {
        if (chunk->id == "fmt ") {
            if (chunk->body + 12 > head.size())
                return -1;
            byteRate = RiffChunk::le32(head, chunk->body + 8);
        } else if (chunk->id == "data") {
            if (byteRate == 0)
                return -1;
            const qint64 rest = fileSize - chunk->body;
            const qint64 dataBytes = chunk->size == 0 || chunk->size > rest ? rest : chunk->size;
            return dataBytes * 1000 / byteRate;
        }
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
