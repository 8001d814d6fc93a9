#include "voice/WaveHeader.h"

#include "voice/RiffChunk.h"
#include "voice/WaveDuration.h"

#include <QFile>

namespace cubwave {

namespace {

const QString kDamaged = QStringLiteral("The wave file's header is damaged");

}  // namespace

QString WaveHeader::problem(QByteArrayView head, qint64 fileSize)
{
    if (fileSize <= 0)
        return QStringLiteral("The file is empty");
    const QByteArrayView riff("RIFF");
    // A file cut short inside "RIFF" itself is a damaged wave file too.
    if (!head.startsWith(riff.first(std::min<qsizetype>(4, head.size()))))
        return {};
    if (head.size() < 12 || head.sliced(8, 4) != "WAVE")
        return kDamaged;
    bool formatSeen = false;
    qint64 at = RiffChunk::kFirst;
    for (auto chunk = RiffChunk::at(head, at); chunk; chunk = RiffChunk::at(head, at)) {
        const qint64 body = chunk->body;
        if (chunk->id == "fmt ") {
            if (chunk->size < 16 || body + 16 > head.size())
                return kDamaged;
            const quint16 channels = RiffChunk::le16(head, body + 2);
            const quint32 rate = RiffChunk::le32(head, body + 4);
            const quint32 byteRate = RiffChunk::le32(head, body + 8);
            const quint16 blockAlign = RiffChunk::le16(head, body + 12);
            if (channels == 0 || rate == 0 || byteRate == 0 || blockAlign == 0)
                return kDamaged;
            formatSeen = true;
        } else if (chunk->id == "data") {
            if (!formatSeen)
                return kDamaged;
            if (body >= fileSize)
                return QStringLiteral("The wave file holds no sound");
            return {};
        }
        at = chunk->next();
    }
    // The chunks end before a data chunk, within the part read or the whole file.
    return at >= fileSize || head.size() >= fileSize ? kDamaged : QString();
}

QString WaveHeader::problemOfFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray head = file.read(WaveDuration::kHeaderBytes);
    return problem(head, file.size());
}

}  // namespace cubwave
