#include "voice/WaveHeader.h"

#include "voice/WaveDuration.h"

#include <QFile>

namespace cubwave {

namespace {

quint32 le32(QByteArrayView b, qint64 at)
{
    return static_cast<quint32>(static_cast<uchar>(b[at])) | static_cast<quint32>(static_cast<uchar>(b[at + 1])) << 8 |
           static_cast<quint32>(static_cast<uchar>(b[at + 2])) << 16 |
           static_cast<quint32>(static_cast<uchar>(b[at + 3])) << 24;
}

quint16 le16(QByteArrayView b, qint64 at)
{
    return static_cast<quint16>(static_cast<uchar>(b[at]) | static_cast<uchar>(b[at + 1]) << 8);
}

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
    qint64 at = 12;
    // Chunks: a four-letter id, a little-endian size, the body padded to an even length.
    while (at + 8 <= head.size()) {
        const QByteArrayView id = head.sliced(at, 4);
        const qint64 size = le32(head, at + 4);
        const qint64 body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > head.size())
                return kDamaged;
            const quint16 channels = le16(head, body + 2);
            const quint32 rate = le32(head, body + 4);
            const quint32 byteRate = le32(head, body + 8);
            const quint16 blockAlign = le16(head, body + 12);
            if (channels == 0 || rate == 0 || byteRate == 0 || blockAlign == 0)
                return kDamaged;
            formatSeen = true;
        } else if (id == "data") {
            if (!formatSeen)
                return kDamaged;
            if (body >= fileSize)
                return QStringLiteral("The wave file holds no sound");
            return {};
        }
        at = body + size + (size & 1);
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
