#include "ClusterLines.h"
#include "spots/ReceivedText.h"
#include "spots/TelnetLineAssembler.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

const QString kSpotA = test::clusterSpot(QStringLiteral("W3LPL"), QStringLiteral("14025.0"), QStringLiteral("JA1ABC"));
const QString kSpotB = test::clusterSpot(QStringLiteral("K1TTT"), QStringLiteral("7003.5"), QStringLiteral("VK2XYZ"));

std::vector<QString> feedAll(TelnetLineAssembler& assembler, const std::vector<QString>& chunks)
{
    std::vector<QString> lines;
    for (const QString& chunk : chunks) {
        for (QString& line : assembler.feed(chunk))
            lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<QString> feedAll(const std::vector<QString>& chunks)
{
    TelnetLineAssembler assembler;
    return feedAll(assembler, chunks);
}

TEST(TelnetLineAssembler, CrLfAndCrLfEachEndOneLineWhereverTheChunksSplit)
{
    // Each line end a cluster may use, and blank lines between; no line of it begins with "DX"
    // in the middle, so no split can look like a chunk that begins a spot.
    const QString stream = kSpotA + QStringLiteral("\r\n") + QStringLiteral("WWV de VE7CC <18>: SFI=150\r")
                           + kSpotB + QStringLiteral("\n\r\n") + QStringLiteral("To ALL de K1TTT: hello\r\n\r\n")
                           + QStringLiteral("pending");
    const std::vector<QString> expected{kSpotA, QStringLiteral("WWV de VE7CC <18>: SFI=150"), kSpotB,
                                        QStringLiteral("To ALL de K1TTT: hello")};
    EXPECT_EQ(feedAll({stream}), expected);
    for (qsizetype cut = 1; cut < stream.size(); ++cut) {
        for (qsizetype cut2 = cut + 1; cut2 < stream.size(); cut2 += 7)
            ASSERT_EQ(feedAll({stream.left(cut), stream.mid(cut, cut2 - cut), stream.mid(cut2)}), expected)
                << "split at " << cut << " and " << cut2;
        ASSERT_EQ(feedAll({stream.left(cut), stream.mid(cut)}), expected) << "split at " << cut;
    }
}

TEST(TelnetLineAssembler, AChunkWithTwoSpotsHandsOverBoth)
{
    TelnetLineAssembler assembler;
    ReceivedText received;
    const auto spots = assembler.takeChunk(QString(kSpotA + QStringLiteral("\r\n") + kSpotB + QStringLiteral("\r\n")), received, false);
    ASSERT_EQ(spots.size(), 2u);
    EXPECT_EQ(spots[0].call, QStringLiteral("JA1ABC"));
    EXPECT_EQ(spots[0].frequencyText, QStringLiteral("14025.0"));
    EXPECT_EQ(spots[1].call, QStringLiteral("VK2XYZ"));
    EXPECT_EQ(spots[1].frequencyText, QStringLiteral("7003.5"));
    // The record is the line's own, not the rest of the chunk.
    EXPECT_FALSE(spots[0].record.contains(QStringLiteral("VK2XYZ")));
}

TEST(TelnetLineAssembler, ASpotSplitOverTwoChunksIsHandedOverWholeOnce)
{
    TelnetLineAssembler assembler;
    ReceivedText received;
    EXPECT_TRUE(assembler.takeChunk(kSpotA.left(30), received, false).empty());
    const auto spots = assembler.takeChunk(QString(kSpotA.mid(30) + QStringLiteral("\r\n")), received, false);
    ASSERT_EQ(spots.size(), 1u);
    EXPECT_EQ(spots[0].call, QStringLiteral("JA1ABC"));
    EXPECT_EQ(spots[0].frequencyText, QStringLiteral("14025.0"));
    // Shown as the chunks came.
    EXPECT_EQ(received.text(), kSpotA + QStringLiteral("\r\n"));
}

TEST(TelnetLineAssembler, APromptWithoutLineEndEndsWhenASpotChunkArrives)
{
    TelnetLineAssembler assembler;
    ReceivedText received;
    EXPECT_TRUE(assembler.takeChunk(u"login: ", received, false).empty());
    EXPECT_EQ(received.text(), QStringLiteral("login: "));  // shown at once, no line end needed
    const auto spots = assembler.takeChunk(QString(kSpotA + QStringLiteral("\r\n")), received, false);
    ASSERT_EQ(spots.size(), 1u);
    EXPECT_EQ(spots[0].call, QStringLiteral("JA1ABC"));

    // A pending spot line is not ended by a chunk that begins with "DX": that is its own text.
    TelnetLineAssembler partialSpot;
    const QString spotWithDxcc = kSpotA.left(40) + QStringLiteral("DXCC new one");
    EXPECT_EQ(feedAll(partialSpot, {kSpotA.left(40), QStringLiteral("DXCC new one\r\n")}),
              std::vector<QString>{spotWithDxcc});
}

TEST(TelnetLineAssembler, ListDxOnlyShowsTheSpotLinesAlone)
{
    TelnetLineAssembler assembler;
    ReceivedText received;
    const auto spots
        = assembler.takeChunk(QString(QStringLiteral("Hello de K1TTT\r\n") + kSpotA + QStringLiteral("\r\n") + kSpotB.left(10)), received, true);
    EXPECT_EQ(spots.size(), 1u);
    EXPECT_EQ(received.text(), kSpotA + QStringLiteral("\r\n"));
}

TEST(TelnetLineAssembler, AnOverlongLineIsDroppedUpToItsLineEndAndMemoryStaysBounded)
{
    TelnetLineAssembler assembler;
    const QString junk(64 * 1024, u'Z');
    for (int i = 0; i < 16; ++i) {  // a megabyte without a line end
        EXPECT_TRUE(assembler.feed(junk).empty());
        ASSERT_LE(assembler.pending().size(), TelnetLineAssembler::kMaxLineChars);
    }
    EXPECT_EQ(feedAll(assembler, {QString(QStringLiteral("ZZZ\r\n") + kSpotA + QStringLiteral("\r\n"))}), std::vector<QString>{kSpotA});

    // A whole line over the limit in one chunk goes the same way.
    EXPECT_EQ(feedAll({QString(QString(5000, u'Q') + QStringLiteral("\n") + kSpotB + QStringLiteral("\n"))}), std::vector<QString>{kSpotB});
    // And a spot line that grows too long is not revived by a chunk that begins with "DX".
    TelnetLineAssembler longSpot;
    EXPECT_EQ(feedAll(longSpot, {QString(QStringLiteral("DX") + QString(5000, u'-')), QStringLiteral("DX tail\r\n"), kSpotA + QStringLiteral("\n")}),
              std::vector<QString>{kSpotA});
}

TEST(TelnetLineAssembler, APartialLineIsDroppedAtAClose)
{
    TelnetLineAssembler assembler;
    EXPECT_TRUE(assembler.feed(kSpotA.left(30)).empty());
    assembler.reset();
    EXPECT_TRUE(assembler.pending().isEmpty());
    EXPECT_EQ(feedAll(assembler, {QString(kSpotB + QStringLiteral("\r\n"))}), std::vector<QString>{kSpotB});

    // A CR at the end of the last chunk does not eat the first LF after a new connection.
    TelnetLineAssembler crLast;
    crLast.feed(u"abc\r");
    crLast.reset();
    EXPECT_EQ(feedAll(crLast, {QStringLiteral("\nx\n")}), std::vector<QString>{QStringLiteral("x")});
}

}  // namespace
