#include "spots/SpotColumns.h"

namespace cubwave {

namespace {

bool isDxAt(QStringView text, qsizetype i)
{
    return (text[i] == u'D' || text[i] == u'd') && (text[i + 1] == u'X' || text[i + 1] == u'x');
}

}  // namespace

bool SpotColumns::isSpotLine(QStringView text) { return text.size() >= 2 && isDxAt(text, 0); }

qsizetype SpotColumns::firstDx(QStringView text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (isDxAt(text, i))
            return i;
    }
    return -1;
}

std::optional<SpotLine> SpotColumns::cut(QStringView line)
{
    // The record is the line after "DX" and its space, so a shorter line holds no spot at all.
    if (line.size() < 3)
        return std::nullopt;
    const auto column = [&](qsizetype from, qsizetype width) {
        const qsizetype start = from - 1;
        return start < line.size() ? line.mid(start, width).trimmed().toString() : QString();
    };
    return SpotLine{column(kCallColumn, kCallWidth), column(kFrequencyColumn, kFrequencyWidth),
                    line.mid(3).trimmed().toString()};
}

std::optional<SpotLine> SpotColumns::cutFromDx(QStringView text)
{
    const qsizetype dx = firstDx(text);
    if (dx < 0)
        return std::nullopt;
    return cut(text.mid(dx));
}

}  // namespace cubwave
