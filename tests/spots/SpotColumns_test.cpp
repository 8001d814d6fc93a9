#include "ClusterLines.h"
#include "spots/SpotColumns.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

TEST(SpotColumns, CutsCallFrequencyAndRecordFromAClusterLine)
{
    // Written out by hand rather than built, so the columns themselves are checked.
    const QString line = QStringLiteral("DX de W3LPL:     14025.0  JA1ABC       CQ up 2                        1234Z");
    const auto spot = SpotColumns::cut(line);
    ASSERT_TRUE(spot);
    EXPECT_EQ(spot->call, QStringLiteral("JA1ABC"));
    EXPECT_EQ(spot->frequencyText, QStringLiteral("14025.0"));
    EXPECT_EQ(spot->record, QStringLiteral("de W3LPL:     14025.0  JA1ABC       CQ up 2                        1234Z"));
}

TEST(SpotColumns, CutsWhatTheColumnsHoldForLinesOfEveryShape)
{
    struct Case {
        QString line;
        QString call;
        QString frequency;
        QString record;
    };
    const Case cases[] = {
        // Lower case counts; the call field is 13 wide, so a longer call is cut at column 39.
        {QStringLiteral("dx de ve7cc:      7003.5  VP8/G3ABCDEFGH"), QStringLiteral("VP8/G3ABCDEFG"),
         QStringLiteral("7003.5"), QStringLiteral("de ve7cc:      7003.5  VP8/G3ABCDEFGH")},
        // A line that ends inside the frequency has no call.
        {QStringLiteral("DX de K1TTT:   1825"), QString(), QStringLiteral("1825"), QStringLiteral("de K1TTT:   1825")},
        // The shortest line that still has a record.
        {QStringLiteral("DX "), QString(), QString(), QString()},
        // The TNC hands the line over with its line end.
        {QStringLiteral("DX de N1MM:      21074.0  ZS6XYZ\r\n"), QStringLiteral("ZS6XYZ"), QStringLiteral("21074.0"),
         QStringLiteral("de N1MM:      21074.0  ZS6XYZ")},
    };
    for (const Case& c : cases) {
        const auto spot = SpotColumns::cut(c.line);
        ASSERT_TRUE(spot) << c.line.toStdString();
        EXPECT_EQ(spot->call, c.call) << c.line.toStdString();
        EXPECT_EQ(spot->frequencyText, c.frequency) << c.line.toStdString();
        EXPECT_EQ(spot->record, c.record) << c.line.toStdString();
    }
}

TEST(SpotColumns, ALineOfFewerThanThreeCharactersIsNoSpot)
{
    EXPECT_FALSE(SpotColumns::cut(u""));
    EXPECT_FALSE(SpotColumns::cut(u"DX"));
    EXPECT_FALSE(SpotColumns::cutFromDx(u"no spot here"));
}

TEST(SpotColumns, ASpotLineBeginsWithDxInAnyCase)
{
    EXPECT_TRUE(SpotColumns::isSpotLine(u"DX de"));
    EXPECT_TRUE(SpotColumns::isSpotLine(u"dX"));
    EXPECT_FALSE(SpotColumns::isSpotLine(u" DX de"));
    EXPECT_FALSE(SpotColumns::isSpotLine(u"D"));
    EXPECT_FALSE(SpotColumns::isSpotLine(u"WWV de"));
    EXPECT_EQ(SpotColumns::firstDx(u"xxdx"), 2);
    EXPECT_EQ(SpotColumns::firstDx(u"D X"), -1);
}

TEST(SpotColumns, ALineWithACharacterBeforeItsDxKeepsEveryDigitOfItsFrequency)
{
    const QString line = QStringLiteral(" ") + test::clusterSpot(QStringLiteral("W3LPL"), QStringLiteral("14025.0"), QStringLiteral("JA1ABC"));
    const auto fromDx = SpotColumns::cutFromDx(line);
    ASSERT_TRUE(fromDx);
    EXPECT_EQ(fromDx->frequencyText, QStringLiteral("14025.0"));
    EXPECT_EQ(fromDx->call, QStringLiteral("JA1ABC"));
    EXPECT_TRUE(fromDx->record.startsWith(QStringLiteral("de W3LPL:")));
    // Counted from the start of the text, the same columns lose the frequency's last digit.
    EXPECT_EQ(SpotColumns::cut(line)->frequencyText, QStringLiteral("14025."));
}

}  // namespace
