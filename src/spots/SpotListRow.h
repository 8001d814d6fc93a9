#pragma once

#include <QString>
#include <QStringView>

#include <array>

namespace cubwave {

class PrefixTable;

// One row of the main window's spot list, made from a handed-over spot.
struct SpotListRow {
    enum Column { Call, Frequency, Qth, Status, Comments, Prefix, Time, From, ColumnCount };

    std::array<QString, ColumnCount> cells;

    // The headings, and the widths on the 9600-wide design: a column is the window's width times
    // its value / 9600 ("Status" is never seen).
    static const std::array<const char*, ColumnCount>& headings();
    static const std::array<int, ColumnCount>& designWidths();

    // The call, the frequency in MHz (shown as its shortest text) and the record cut before its
    // first CR, from which fixed columns are read; columns past the record's end are empty.
    static SpotListRow from(const QString& call, float frequencyMHz, QStringView record, const PrefixTable& prefixes);
};

}  // namespace cubwave
