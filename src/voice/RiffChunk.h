#pragma once

#include <QByteArrayView>

#include <optional>

namespace cubwave {

// One chunk header in the head of a RIFF file: a four-letter id and a little-endian size; the
// body follows, padded to an even length. The wave header check and the length reader walk the
// same chunks with it.
struct RiffChunk {
    // Where the first chunk starts: after "RIFF", the file's size and the form type ("WAVE").
    static constexpr qint64 kFirst = 12;

    QByteArrayView id;
    qint64 size = 0;
    qint64 body = 0;  // where the body starts in the head

    // Where the next chunk starts.
    qint64 next() const { return body + size + (size & 1); }

    // The chunk header at offset, or none when it does not lie wholly within head.
    static std::optional<RiffChunk> at(QByteArrayView head, qint64 offset)
    {
        if (offset < 0 || offset + 8 > head.size())
            return std::nullopt;
        return RiffChunk{head.sliced(offset, 4), le32(head, offset + 4), offset + 8};
    }

    // Little-endian numbers at an offset the caller has checked lies within head.
    static quint32 le32(QByteArrayView head, qint64 at)
    {
        return static_cast<quint32>(le16(head, at)) | static_cast<quint32>(le16(head, at + 2)) << 16;
    }
    static quint16 le16(QByteArrayView head, qint64 at)
    {
        return static_cast<quint16>(static_cast<uchar>(head[at]) | static_cast<uchar>(head[at + 1]) << 8);
    }
};

}  // namespace cubwave
