#include "rig/HexText.h"

namespace cubwave {

int HexText::digitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

std::optional<QByteArray> HexText::spacedToBytes(QStringView text, int maxBytes)
{
    QByteArray bytes;
    qsizetype pos = 0;
    while (pos + 2 <= text.size() && (maxBytes < 0 || bytes.size() < maxBytes)) {
        const int high = digitValue(text[pos].unicode());
        const int low = digitValue(text[pos + 1].unicode());
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.append(char(high * 16 + low));
        pos += 3;
    }
    if (maxBytes < 0 && pos < text.size() && !text.mid(pos).trimmed().isEmpty())
        return std::nullopt;
    if (maxBytes >= 0 && bytes.size() < maxBytes)
        return std::nullopt;  // a query of a fixed length cut short
    return bytes;
}

std::optional<QByteArray> HexText::typedToBytes(QStringView text)
{
    for (qsizetype pos = 2; pos < text.size(); pos += 3) {
        if (digitValue(text[pos].unicode()) >= 0)
            return std::nullopt;
    }
    return spacedToBytes(text);
}

QString HexText::bytesToSpaced(QByteArrayView bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    QString text(bytes.size() * 3, Qt::Uninitialized);
    QChar* out = text.data();
    for (char b : bytes) {
        const auto v = static_cast<unsigned char>(b);
        *out++ = QLatin1Char(kDigits[v >> 4]);
        *out++ = QLatin1Char(kDigits[v & 15]);
        *out++ = QLatin1Char(' ');
    }
    return text;
}

}  // namespace cubwave
