#include "core/LogLine.h"

#include "core/QuotedFields.h"

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
    std::array<QStringView, QsoRecord::FieldCount> items;
    if (!splitQuotedFields(line, items))
        return std::nullopt;
    QsoRecord record;
    for (size_t i = 0; i < items.size(); ++i)
        record.fields[i] = items[i].toString();
    return record;
}

}  // namespace cubwave
