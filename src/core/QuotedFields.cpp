#include "core/QuotedFields.h"

namespace cubwave {

namespace {
bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
}  // namespace

bool splitQuotedFields(QStringView line, std::span<QStringView> items)
{
    const qsizetype n = line.size();
    qsizetype pos = 0;
    size_t count = 0;
    while (true) {
        if (count >= items.size())
            return false;  // more items than the line may hold
        while (pos < n && isBlank(line[pos]))
            ++pos;
        if (pos < n && line[pos] == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), pos + 1);
            if (close < 0)
                return false;  // unterminated quote
            items[count++] = line.mid(pos + 1, close - pos - 1);
            pos = close + 1;
            while (pos < n && isBlank(line[pos]))
                ++pos;
            if (pos < n && line[pos] != QLatin1Char(','))
                return false;  // a stray quote split the item
        } else {
            qsizetype comma = line.indexOf(QLatin1Char(','), pos);
            if (comma < 0)
                comma = n;
            const QStringView raw = line.mid(pos, comma - pos);
            if (raw.contains(QLatin1Char('"')))
                return false;
            items[count++] = raw.trimmed();
            pos = comma;
        }
        if (pos >= n)
            break;
        ++pos;  // the comma
    }
    return count == items.size();
}

}  // namespace cubwave
