#include "ClusterLines.h"
#include "spots/ReceivedText.h"
#include "spots/TncLineSplitter.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

const QString kSpotA = test::clusterSpot(QStringLiteral("W3LPL"), QStringLiteral("14025.0"), QStringLiteral("JA1ABC"));
const QString kSpotB = test::clusterSpot(QStringLiteral("K1TTT"), QStringLiteral("7003.5"), QStringLiteral("VK2XYZ"));

struct TncRun {
    std::vector<SpotLine> spots;
    QString received;
};

// Feeds the pieces as timer ticks would, processing after each.
TncRun run(const std::vector<QString>& pieces, bool listDxOnly = false)
{
    TncLineSplitter splitter;
    ReceivedText received;
    TncRun r;
    for (const QString& piece : pieces) {
        splitter.feed(piece);
        for (SpotLine& spot : splitter.process(received, listDxOnly))
            r.spots.push_back(std::move(spot));
    }
    r.received = received.text();
    return r;
}

std::vector<QString> callsOf(const TncRun& r)
{
    std::vector<QString> calls;
    for (const SpotLine& spot : r.spots)
        calls.push_back(spot.call);
    return calls;
}

TEST(TncLineSplitter, TheFirstLineCountsAndAPartialLineWaitsForItsLineFeed)
{
    TncLineSplitter splitter;
    ReceivedText received;
    splitter.feed(QString(kSpotA + QStringLiteral("\r\n") + kSpotB.left(20)));
    const auto first = splitter.process(received, false);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].call, QStringLiteral("JA1ABC"));
    EXPECT_EQ(first[0].frequencyText, QStringLiteral("14025.0"));
    EXPECT_EQ(received.text(), kSpotA + QStringLiteral("\r\n"));

    EXPECT_TRUE(splitter.process(received, false).empty());  // no line feed yet
    splitter.feed(QString(kSpotB.mid(20) + QStringLiteral("\r\n")));
    const auto second = splitter.process(received, false);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].call, QStringLiteral("VK2XYZ"));
    EXPECT_EQ(second[0].frequencyText, QStringLiteral("7003.5"));
}

TEST(TncLineSplitter, TheSameStreamGivesTheSameSpotsAndTextWhereverItIsSplit)
{
    const QString stream = QStringLiteral("cmd:\r\n") + kSpotA + QStringLiteral("\r\n") + QStringLiteral("Hello from the node\r\n")
                           + kSpotA + QStringLiteral("\r\n")  // relayed twice: handed over once
                           + QStringLiteral("dx de k1ttt:      3503.0  ZL1AA\r\n") + kSpotB + QStringLiteral("\r\nhalf a li");
    const TncRun whole = run({stream});
    EXPECT_EQ(callsOf(whole), (std::vector<QString>{QStringLiteral("JA1ABC"), QStringLiteral("ZL1AA"), QStringLiteral("VK2XYZ")}));
    EXPECT_EQ(whole.received, QStringLiteral("cmd:\r\n") + kSpotA + QStringLiteral("\r\nHello from the node\r\n")
                                  + QStringLiteral("dx de k1ttt:      3503.0  ZL1AA\r\n") + kSpotB + QStringLiteral("\r\n"));

    for (qsizetype cut = 1; cut < stream.size(); ++cut) {
        const TncRun split = run({stream.left(cut), stream.mid(cut)});
        ASSERT_EQ(split.spots, whole.spots) << "split at " << cut;
        ASSERT_EQ(split.received, whole.received) << "split at " << cut;
    }
    // And one character a tick.
    std::vector<QString> characters;
    for (const QChar c : stream)
        characters.emplace_back(c);
    const TncRun trickle = run(characters);
    EXPECT_EQ(trickle.spots, whole.spots);
    EXPECT_EQ(trickle.received, whole.received);
}

TEST(TncLineSplitter, ListDxOnlyHidesChatButNotSpots)
{
    const QString stream = QStringLiteral("Hello from the node\r\n") + kSpotA + QStringLiteral("\r\n");
    const TncRun shown = run({stream}, false);
    EXPECT_TRUE(shown.received.contains(QStringLiteral("Hello")));
    const TncRun hidden = run({stream}, true);
    EXPECT_FALSE(hidden.received.contains(QStringLiteral("Hello")));
    EXPECT_EQ(callsOf(hidden), std::vector<QString>{QStringLiteral("JA1ABC")});
    EXPECT_EQ(hidden.received, kSpotA + QStringLiteral("\r\n"));
}

TEST(TncLineSplitter, ASpotRepeatedAfterTheDuplicateWindowIsHandedOverAgain)
{
    QString chat;
    for (int i = 0; i < 20; ++i)
        chat += QStringLiteral("chat line number %1 with some padding to make it long\r\n").arg(i, 3);
    ASSERT_GT(chat.size(), 800);
    const TncRun r = run({kSpotA + QStringLiteral("\r\n") + chat + kSpotA + QStringLiteral("\r\n")});
    EXPECT_EQ(r.spots.size(), 2u);
}

TEST(TncLineSplitter, AnOverlongLineIsDroppedUpToItsLineFeedAndTheBufferStaysSmall)
{
    TncLineSplitter splitter;
    ReceivedText received;
    const QString junk(1000, u'Z');
    for (int i = 0; i < 1000; ++i) {  // a megabyte without a line feed
        splitter.feed(junk);
        EXPECT_TRUE(splitter.process(received, false).empty());
        ASSERT_LE(splitter.buffer().size(), TncLineSplitter::kMaxLineChars + 1);
    }
    splitter.feed(QString(QStringLiteral("ZZZ\r\n") + kSpotA + QStringLiteral("\r\n")));
    const auto spots = splitter.process(received, false);
    ASSERT_EQ(spots.size(), 1u);
    EXPECT_EQ(spots[0].call, QStringLiteral("JA1ABC"));
    EXPECT_FALSE(received.text().contains(QStringLiteral("ZZZZ")));
    EXPECT_TRUE(received.text().contains(QStringLiteral("characters of TNC input dropped")));
}

TEST(TncLineSplitter, AnOverlongWholeLineIsDroppedToo)
{
    const TncRun r = run({QString(QString(5000, u'Q') + QStringLiteral("\n") + kSpotA + QStringLiteral("\n"))});
    EXPECT_EQ(callsOf(r), std::vector<QString>{QStringLiteral("JA1ABC")});
    EXPECT_FALSE(r.received.contains(QStringLiteral("QQQQ")));
}

TEST(TncLineSplitter, MoreInputThanATickCanTakeKeepsTheNewestLines)
{
    // 2,000 distinct spots in one read: far more than the buffer keeps.
    QString flood;
    for (int i = 0; i < 2000; ++i)
        flood += test::clusterSpot(QStringLiteral("W3LPL"), QStringLiteral("14025.0"), QStringLiteral("K%1AA").arg(i)) + QStringLiteral("\n");
    TncLineSplitter splitter;
    ReceivedText received;
    splitter.feed(flood);
    EXPECT_LE(splitter.buffer().size(), TncLineSplitter::kMaxBufferChars + 1);
    EXPECT_EQ(splitter.droppedChars() + splitter.buffer().size(), flood.size() + 1);
    const auto spots = splitter.process(received, false);
    ASSERT_FALSE(spots.empty());
    EXPECT_LT(spots.size(), 2000u);
    EXPECT_EQ(spots.back().call, QStringLiteral("K1999AA"));
    // The kept lines are whole: the first one handed over is some spot's own call.
    EXPECT_TRUE(spots.front().call.startsWith(u'K') && spots.front().call.endsWith(QStringLiteral("AA")));
    EXPECT_EQ(splitter.droppedChars(), 0);  // said in the received text, before the kept lines
}

TEST(TncLineSplitter, SerialBytesAreLatin1)
{
    TncLineSplitter splitter;
    ReceivedText received;
    splitter.feedLatin1(QByteArray("caf\xe9 \xff\r\n"));
    splitter.process(received, false);
    EXPECT_EQ(received.text(), QStringLiteral("caf") + QChar(0xE9) + u' ' + QChar(0xFF) + QStringLiteral("\r\n"));
}

TEST(TncLineSplitter, ResetStartsAgainFromALoneLineFeed)
{
    TncLineSplitter splitter;
    ReceivedText received;
    splitter.feed(u"a half line");
    splitter.reset();
    EXPECT_EQ(splitter.buffer(), QStringLiteral("\n"));
    splitter.feed(QString(kSpotA + QStringLiteral("\n")));
    EXPECT_EQ(splitter.process(received, true).size(), 1u);
    EXPECT_FALSE(received.text().contains(QStringLiteral("half")));
}

}  // namespace
