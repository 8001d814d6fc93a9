#pragma once

#include <QByteArray>
#include <QtEndian>

namespace cubwave::test {

// A PCM wave file: the 44-byte RIFF header and dataBytes of silence.
inline QByteArray wavBytes(quint32 sampleRate, quint16 channels, quint16 bits, quint32 dataBytes)
{
    const auto le32 = [](quint32 v) {
        QByteArray b(4, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    const auto le16 = [](quint16 v) {
        QByteArray b(2, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    const quint16 blockAlign = static_cast<quint16>(channels * bits / 8);
    QByteArray out = "RIFF" + le32(36 + dataBytes) + "WAVE";
    out += "fmt " + le32(16) + le16(1) + le16(channels) + le32(sampleRate) + le32(sampleRate * blockAlign) +
           le16(blockAlign) + le16(bits);
    out += "data" + le32(dataBytes) + QByteArray(static_cast<qsizetype>(dataBytes), '\0');
    return out;
}

}  // namespace cubwave::test
