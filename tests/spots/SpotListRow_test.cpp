#include "spots/SpotListRow.h"
#include "station/PrefixTable.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace cubwave;

namespace {

const PrefixTable& prefixes()
{
    static const PrefixTable table = [] {
        PrefixTableLoad load = PrefixTable::parse("\"JA\",\"Japan\",\"AS\",-139,36,\"25\",\"45\",\"-9.0\"\n"
                                                  "\"K\",\"USA\",\"NA\",91.87,37.6,\"05\",\"08\",\"5.0\"\n");
        EXPECT_TRUE(load.ok);
        return std::move(load.table);
    }();
    return table;
}

QStringList cells(const SpotListRow& row) { return {row.cells.begin(), row.cells.end()}; }

}  // namespace

TEST(SpotListRow, ReadsTheRecordsFixedColumns)
{
    // Columns counted from 1: the spotter 1-11, the comment 35-59, a prefix 62-66, the time 68-71
    // and where it came from 73-76.
    const QString record = QStringLiteral("de W3LPL:  ")                       //  1-11
                           + QString(23, u' ')                                 // 12-34
                           + QStringLiteral("  CQ up 2").leftJustified(25)     // 35-59
                           + QStringLiteral("xx")                              // 60-61
                           + QStringLiteral(" JA  ")                           // 62-66
                           + u' ' + QStringLiteral("1234")                     // 67-71
                           + u' ' + QStringLiteral(" AS ")                     // 72-76
                           + QStringLiteral("trailing");
    const SpotListRow row = SpotListRow::from(QStringLiteral("JA1ABC"), 14.0253f, record, prefixes());
    EXPECT_EQ(cells(row),
              (QStringList{"JA1ABC", "14.0253", "Japan", "", "de W3LPL:  CQ up 2", "JA", "1234", "AS"}));
}

TEST(SpotListRow, ColumnsPastAShortRecordAreEmpty)
{
    struct Case {
        const char* record;
        QStringList cells;
    };
    const Case cases[] = {
        {"", {"K1ABC", "7.01", "USA", "", "  ", "", "", ""}},
        {"de N0XYZ", {"K1ABC", "7.01", "USA", "", "de N0XYZ  ", "", "", ""}},
        // Up to the time's second digit: the time is cut, the rest is empty.
        {"de N0XYZ:                         comment                    K     12",
         {"K1ABC", "7.01", "USA", "", "de N0XYZ:  comment", "K", "12", ""}},
    };
    for (const Case& c : cases) {
        const SpotListRow row = SpotListRow::from(QStringLiteral("K1ABC"), 7.01f, QString::fromLatin1(c.record), prefixes());
        EXPECT_EQ(cells(row), c.cells) << c.record;
    }
}

TEST(SpotListRow, TheFrequencyIsTheShortestTextOfItsValueAndTheCountryMayBeUnknown)
{
    struct Case {
        float mhz;
        const char* text;
    };
    const Case cases[] = {{14.025f, "14.025"}, {7.0f, "7"}, {0.0f, "0"}, {-7.0f, "-7"}, {999999.999f, "1000000"}};
    for (const Case& c : cases)
        EXPECT_EQ(SpotListRow::from(QStringLiteral("ZZ9ZZ"), c.mhz, {}, prefixes()).cells[SpotListRow::Frequency],
                  QString::fromLatin1(c.text));
    EXPECT_EQ(SpotListRow::from(QStringLiteral("ZZ9ZZ"), 1, {}, prefixes()).cells[SpotListRow::Qth], QString());
    EXPECT_EQ(SpotListRow::from(QString(), 1, {}, prefixes()).cells[SpotListRow::Qth], QString());
}
