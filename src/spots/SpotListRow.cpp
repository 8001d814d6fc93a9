#include "spots/SpotListRow.h"

#include "station/NumericText.h"
#include "station/PrefixTable.h"

namespace cubwave {

namespace {

// The record's characters from a 1-based column, as many as are there.
QStringView columns(QStringView record, qsizetype first, qsizetype count)
{
    if (first - 1 >= record.size())
        return {};
    return record.mid(first - 1).left(count);
}

}  // namespace

const std::array<const char*, SpotListRow::ColumnCount>& SpotListRow::headings()
{
    static constexpr std::array<const char*, ColumnCount> kHeadings{
        "Call", "Frequency", "QTH", "Status", "Comments", "Prefix", "Time", "From"};
    return kHeadings;
}

const std::array<int, SpotListRow::ColumnCount>& SpotListRow::designWidths()
{
    static constexpr std::array<int, ColumnCount> kWidths{1040, 880, 2000, 0, 3400, 520, 600, 520};
    return kWidths;
}

SpotListRow SpotListRow::from(const QString& call, float frequencyMHz, QStringView record, const PrefixTable& prefixes)
{
    SpotListRow row;
    row.cells[Call] = call;
    row.cells[Frequency] = NumericText::shortest(frequencyMHz);
    row.cells[Qth] = prefixes.spotCountry(call);
    // The spotter's "de CALL:" and the comment text of the cluster line.
    row.cells[Comments] = columns(record, 1, 11).trimmed().toString() + QStringLiteral("  ")
                          + columns(record, 35, 25).trimmed().toString();
    row.cells[Prefix] = columns(record, 62, 5).trimmed().toString();
    row.cells[Time] = columns(record, 68, 4).toString();
    row.cells[From] = columns(record, 73, 4).trimmed().toString();
    return row;
}

}  // namespace cubwave
