#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace cubwave {

// One spot as the main window takes it: the spotted call, the frequency text in kHz (not
// checked to be a number here) and the record, the line from "de" and the spotter on.
struct SpotLine {
    QString call;
    QString frequencyText;
    QString record;

    bool operator==(const SpotLine&) const = default;
};

// The fixed columns of a cluster's spot line: "DX de SPOTTER:" then the frequency right-aligned
// to column 24 and the spotted call from column 27.
class SpotColumns {
public:
    static constexpr qsizetype kFrequencyColumn = 16;  // counted from 1, as cluster layouts are
    static constexpr qsizetype kFrequencyWidth = 9;
    static constexpr qsizetype kCallColumn = 27;
    static constexpr qsizetype kCallWidth = 13;

    // True when the text begins with "DX", in any case.
    static bool isSpotLine(QStringView text);
    // Where "DX" (any case) first stands in the text, counted from 0; -1 when nowhere.
    static qsizetype firstDx(QStringView text);
    // Cuts a line that begins with its "DX"; nothing for a line of fewer than three characters.
    static std::optional<SpotLine> cut(QStringView line);
    // Cuts the columns counted from the first "DX" of the text, so a line that has a character
    // before its "DX" keeps every digit of its frequency; nothing when there is no "DX".
    static std::optional<SpotLine> cutFromDx(QStringView text);
};

}  // namespace cubwave
