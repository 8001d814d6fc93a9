#include "core/LogLine.h"

namespace cubwave {

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
    QsoRecord record;
    const qsizetype n = line.size();
    qsizetype pos = 0;
    int field = 0;
    const auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };

    while (true) {
        if (field >= QsoRecord::FieldCount)
            return std::nullopt;  // more than eleven fields
        while (pos < n && isBlank(line[pos]))
            ++pos;
        QString value;
        if (pos < n && line[pos] == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), pos + 1);
            if (close < 0)
                return std::nullopt;  // unterminated quote
            value = line.mid(pos + 1, close - pos - 1).toString();
            pos = close + 1;
            while (pos < n && isBlank(line[pos]))
                ++pos;
            if (pos < n && line[pos] != QLatin1Char(','))
                return std::nullopt;  // a stray quote split the field
        } else {
            qsizetype comma = line.indexOf(QLatin1Char(','), pos);
            if (comma < 0)
                comma = n;
            const QStringView raw = line.mid(pos, comma - pos);
            if (raw.contains(QLatin1Char('"')))
                return std::nullopt;
            value = raw.trimmed().toString();
            pos = comma;
        }
        record.fields[static_cast<size_t>(field++)] = std::move(value);
        if (pos >= n)
            break;
        ++pos;  // the comma
    }
    if (field != QsoRecord::FieldCount)
        return std::nullopt;
    return record;
}

}  // namespace cubwave
