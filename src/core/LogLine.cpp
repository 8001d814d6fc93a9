#include "core/LogLine.h"

#include "core/QuotedFields.h"

namespace cubwave {

namespace {
// Every field between quotes, with a comma between two fields.
constexpr qint64 kFramingBytes = 2 * QsoRecord::FieldCount + (QsoRecord::FieldCount - 1);
}  // namespace

QString LogLine::format(const QsoRecord& record)
{
    QString line;
    line.reserve(128);
    for (int i = 0; i < QsoRecord::FieldCount; ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        line += QLatin1Char('"');
        line += record.fields[static_cast<size_t>(i)];
        line += QLatin1Char('"');
    }
    return line;
}

std::optional<QsoRecord> LogLine::parse(QStringView line)
{
    std::array<QStringView, QsoRecord::FieldCount> items;
    if (!splitQuotedFields(line, items))
        return std::nullopt;
    QsoRecord record;
    for (size_t i = 0; i < items.size(); ++i)
        record.fields[i] = items[i].toString();
    return record;
}

qint64 LogLine::formattedBytes(const QsoRecord& record)
{
    qint64 bytes = kFramingBytes;
    for (const QString& field : record.fields) {
        for (QChar c : field) {
            const char16_t u = c.unicode();
            // A surrogate pair is four bytes in UTF-8, two for each half.
            bytes += u < 0x80 ? 1 : (u < 0x800 || c.isSurrogate()) ? 2 : 3;
        }
    }
    return bytes;
}

QString LogLine::refusal(const QsoRecord& record)
{
    for (const QString& field : record.fields) {
        for (qsizetype i = 0; i < field.size(); ++i) {
            const QChar c = field[i];
            if (c == QLatin1Char('"'))
                return QStringLiteral("it holds a double quote");
            if (isRefusedCharacter(c))
                return QStringLiteral("it holds a control character (code %1)").arg(c.unicode());
            // Half a pair has no UTF-8 form; it would come back as another character.
            if (c.isHighSurrogate() && i + 1 < field.size() && field[i + 1].isLowSurrogate())
                ++i;
            else if (c.isSurrogate())
                return QStringLiteral("it holds a broken character");
        }
    }
    const qint64 bytes = formattedBytes(record);
    if (bytes > kMaxBytes)
        return QStringLiteral("its line would be %1 bytes long, more than the %2 a log line may hold")
            .arg(bytes)
            .arg(kMaxBytes);
    return {};
}

}  // namespace cubwave
