#include "core/FileRead.h"

#include <QFile>
#include <QStringDecoder>

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

QStringView decodeTextLine(QByteArrayView raw, std::vector<QChar>& buffer, bool* latin1)
{
    // A line never decodes to more UTF-16 units than it has bytes.
    if (buffer.size() < static_cast<size_t>(raw.size()))
        buffer.resize(static_cast<size_t>(raw.size()));
    QStringDecoder decode(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QChar* end = decode.appendToBuffer(buffer.data(), raw);
    const bool fallback = decode.hasError();
    if (fallback) {
        for (qsizetype i = 0; i < raw.size(); ++i)
            buffer[static_cast<size_t>(i)] = QChar(static_cast<uchar>(raw[i]));
        end = buffer.data() + raw.size();
    }
    if (latin1)
        *latin1 = fallback;
    return QStringView(buffer.data(), end - buffer.data());
}

}  // namespace cubwave
