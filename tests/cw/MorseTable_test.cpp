#include "cw/MorseTable.h"

#include <gtest/gtest.h>

namespace cubwave {
namespace {

// Unit strings typed by hand from the dot-dash patterns, independent of the table's builder.
struct Case {
    char c;
    const char* units;
};

const Case kExact[] = {
    {'A', "10111000"},
    {'E', "1000"},
    {'T', "111000"},
    {'0', "1110111011101110111000"},
    {'5', "101010101000"},
    {'=', "1110101010111000"},
    {'-', "1110101010111000"},  // the double dash, not the six-element hyphen
    {'[', "1011101011101000"},  // AR
    {']', "101010111010111000"},  // SK
    {';', "111010111011101000"},  // KN
    {'\\', "111010111010101110101000"},  // CL
    {'.', "10111010111010111000"},
    {'?', "101011101110101000"},
    {'/', "1110101011101000"},
};

TEST(MorseTable, ElementStringsAreExact)
{
    for (const Case& c : kExact)
        EXPECT_EQ(MorseTable::elements(QLatin1Char(c.c)), QLatin1String(c.units)) << c.c;
}

TEST(MorseTable, EveryCharacterEndsInThreeKeyUpUnits)
{
    const QString all = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/=-[];\\");
    for (QChar c : all) {
        const QString units = MorseTable::elements(c);
        ASSERT_GE(units.size(), 4) << c.toLatin1();
        EXPECT_TRUE(units.endsWith(QLatin1String("1000"))) << c.toLatin1();
    }
}

TEST(MorseTable, LowerCaseSendsAsCapital)
{
    EXPECT_EQ(MorseTable::elements(QLatin1Char('a')), MorseTable::elements(QLatin1Char('A')));
    EXPECT_EQ(MorseTable::runs(QLatin1Char('a')),
              (std::vector<KeyingRun>{{true, 1}, {false, 1}, {true, 3}, {false, 3}}));
}

TEST(MorseTable, CharactersWithoutPatternTakeNoTime)
{
    for (QChar c : QStringLiteral("!%(\"\t\x01") + QChar(0x00e9)) {
        EXPECT_TRUE(MorseTable::elements(c).isEmpty()) << int(c.unicode());
        EXPECT_TRUE(MorseTable::runs(c).empty()) << int(c.unicode());
    }
}

TEST(MorseTable, WordSpaceAndItsAdjustment)
{
    struct {
        int adjust;
        qint64 units;
    } cases[] = {{0, 8}, {2, 10}, {-4, 4}, {-8, 0}, {-12, 0}, {5, 13}};
    for (const auto& c : cases) {
        EXPECT_EQ(MorseTable::elements(QLatin1Char(' '), c.adjust), QString(c.units, QLatin1Char('0'))) << c.adjust;
        const auto runs = MorseTable::runs(QLatin1Char(' '), c.adjust);
        if (c.units == 0)
            EXPECT_TRUE(runs.empty());
        else
            EXPECT_EQ(runs, (std::vector<KeyingRun>{{false, c.units}}));
    }
}

TEST(MorseTable, HugeWordSpaceIsOneBoundedRun)
{
    const auto runs = MorseTable::runs(QLatin1Char(' '), qint64(1) << 40);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].units, 8 + MorseTable::kMaxWordSpaceAdjust);
}

TEST(MorseTable, RunsMatchTheUnitString)
{
    for (QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/=-[];\\")) {
        QString rebuilt;
        for (const KeyingRun& r : MorseTable::runs(c))
            rebuilt += QString(r.units, r.keyDown ? QLatin1Char('1') : QLatin1Char('0'));
        EXPECT_EQ(rebuilt, MorseTable::elements(c)) << c.toLatin1();
    }
}

}  // namespace
}  // namespace cubwave
