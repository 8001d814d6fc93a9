// The reply assembler: whole replies only, whatever pieces the line delivers them in.
#include "rig/ReplyAssembler.h"
#include "rig/RigModel.h"

#include <gtest/gtest.h>

#include <QList>

using namespace cubwave;

namespace {

QByteArray hex(const char* spaced) { return QByteArray::fromHex(spaced); }

const RigModel& model(const char16_t* name)
{
    const RigModel* m = RigModels::find(QStringView(name));
    EXPECT_NE(m, nullptr);
    return *m;
}

QList<QByteArray> feedPieces(ReplyAssembler& assembler, const QList<QByteArray>& pieces)
{
    QList<QByteArray> replies;
    for (const QByteArray& piece : pieces)
        assembler.feed(piece, [&replies](QByteArrayView reply) { replies.append(reply.toByteArray()); });
    return replies;
}

struct Stream {
    const char* name;
    const char16_t* model;
    QByteArray bytes;            // everything the radio sends after one query
    int replyBytes;              // fixed-length framing: the length asked for
    QList<QByteArray> replies;   // what the decoders must see
};

void PrintTo(const Stream& s, std::ostream* os) { *os << s.name; }

class SplitStreams : public ::testing::TestWithParam<Stream> {};

// Every way of cutting the stream into three reads gives the same whole replies.
TEST_P(SplitStreams, GiveTheSameRepliesAtEverySplit)
{
    const Stream& s = GetParam();
    const qsizetype n = s.bytes.size();
    for (qsizetype i = 0; i <= n; ++i) {
        for (qsizetype j = i; j <= n; ++j) {
            ReplyAssembler assembler(model(s.model));
            assembler.queryOut(0, s.replyBytes);
            const QList<QByteArray> pieces{s.bytes.first(i), s.bytes.sliced(i, j - i), s.bytes.sliced(j)};
            ASSERT_EQ(feedPieces(assembler, pieces), s.replies) << "cut at " << i << " and " << j;
            EXPECT_FALSE(assembler.holdsPartialReply());
        }
    }
}

QByteArray kenwoodIf()
{
    return "IF00014025000     +000000000030000000;";
}

const QByteArray kIcomEcho = hex("FE FE 64 E0 03 FD");
const QByteArray kIcomReply = hex("FE FE E0 64 03 00 50 02 14 00 FD");
const QByteArray kStatus890 = QByteArray(2, '\0') + hex("15 66 84") + QByteArray(2, '\0') + hex("02") + QByteArray(11, '\x0D');

INSTANTIATE_TEST_SUITE_P(
    Families, SplitStreams,
    ::testing::Values(
        Stream{"KenwoodTwoReplies", u"Kenwood", "FA00014025000;MD3;", 0, {"FA00014025000;", "MD3;"}},
        Stream{"KenwoodInfo", u"Kenwood 2", kenwoodIf(), 0, {kenwoodIf()}},
        Stream{"IcomEchoSkipped", u"Icom", kIcomEcho + kIcomReply, 0, {kIcomReply}},
        Stream{"IcomMode", u"Icom", hex("FE FE 64 E0 04 FD FE FE E0 64 04 03 01 FD"), 0, {hex("FE FE E0 64 04 03 01 FD")}},
        Stream{"Icom735", u"Icom 735", hex("FE FE 04 E0 03 FD FE FE E0 04 03 00 50 02 14 FD"), 0,
               {hex("FE FE E0 04 03 00 50 02 14 FD")}},
        Stream{"YaesuFiveByte", u"Yaesu", hex("01 40 25 00 02"), 5, {hex("01 40 25 00 02")}},
        Stream{"Yaesu890", u"Yaesu 890", kStatus890, 19, {kStatus890}},
        Stream{"Yaesu757", u"Yaesu 757 GX II", QByteArray(75, '\x0D'), 75, {QByteArray(75, '\x0D')}},
        Stream{"FTdx9000", u"Yaesu FTdx9000", "FA14025000;", 0, {"FA14025000;"}},
        // A frequency byte may be 0D: the front panel's reply is whole at its length, not at CR.
        Stream{"FrontPanelFrequency", u"Ten Tec Fnt Pnl", QByteArray("A") + hex("00 D6 0D 0D") + "\r", 6,
               {QByteArray("A") + hex("00 D6 0D 0D") + "\r"}},
        Stream{"FrontPanelMode", u"Ten Tec Fnt Pnl", "M33\r", 4, {"M33\r"}},
        Stream{"Orion", u"Ten Tec Orion", "@AF14025000\r@RMM2\r", 0, {"@AF14025000\r", "@RMM2\r"}}),
    [](const ::testing::TestParamInfo<Stream>& info) { return std::string(info.param.name); });

TEST(ReplyAssembler, DiscardsInputBeforeTheFirstQuery)
{
    ReplyAssembler assembler(model(u"Kenwood"));
    EXPECT_TRUE(feedPieces(assembler, {"FA00014025000;"}).isEmpty());
    EXPECT_FALSE(assembler.holdsPartialReply());
    assembler.queryOut(0, 0);
    EXPECT_EQ(feedPieces(assembler, {"FA00007000000;"}), QList<QByteArray>{"FA00007000000;"});

    // After a reset (the port was reopened) the same holds again.
    assembler.reset();
    EXPECT_TRUE(feedPieces(assembler, {"FA00014025000;"}).isEmpty());
}

TEST(ReplyAssembler, DropsWhatFollowsAWholeFixedRecordInTheSameReadAndLater)
{
    ReplyAssembler assembler(model(u"Yaesu"));
    assembler.queryOut(0, 5);
    EXPECT_EQ(feedPieces(assembler, {hex("01 40 25 00 02 07 07")}), QList<QByteArray>{hex("01 40 25 00 02")});
    // No query outstanding: a record without markers cannot be placed.
    EXPECT_TRUE(feedPieces(assembler, {hex("01 40 25 00 02")}).isEmpty());
    EXPECT_FALSE(assembler.holdsPartialReply());
}

TEST(ReplyAssembler, SkipsFramesNotAddressedToTheController)
{
    ReplyAssembler assembler(model(u"Icom"));
    assembler.queryOut(0, 0);
    const QByteArray broadcast = hex("FE FE 00 64 00 00 50 02 14 00 FD");
    const QByteArray otherController = hex("FE FE 64 E1 03 FD");
    const QByteArray collision = hex("FE FE E0 64 03 00 FC");
    EXPECT_EQ(feedPieces(assembler, {broadcast + otherController + collision + kIcomReply}),
              QList<QByteArray>{kIcomReply});
}

TEST(ReplyAssembler, HoldsAPartialReplyUntilItIsStale)
{
    ReplyAssembler assembler(model(u"Yaesu 890"));
    assembler.queryOut(1000, 19);
    EXPECT_TRUE(feedPieces(assembler, {kStatus890.first(10)}).isEmpty());
    EXPECT_TRUE(assembler.holdsPartialReply());
    EXPECT_FALSE(assembler.dropStale(1999, 1000));
    EXPECT_TRUE(assembler.holdsPartialReply());
    // A record that stays short is dropped, never waited for forever.
    EXPECT_TRUE(assembler.dropStale(2000, 1000));
    EXPECT_FALSE(assembler.holdsPartialReply());
    EXPECT_TRUE(feedPieces(assembler, {kStatus890.sliced(10)}).isEmpty());
}

TEST(ReplyAssembler, HoldsNoMoreThanTheLongestReplyAndOneKilobyte)
{
    ReplyAssembler assembler(model(u"Kenwood"));
    assembler.queryOut(0, 0);
    const QByteArray garbage(64 * 1024, 'x');
    QList<QByteArray> replies = feedPieces(assembler, {garbage, garbage});
    EXPECT_TRUE(replies.isEmpty());
    EXPECT_TRUE(assembler.holdsPartialReply());
    // The terminator ends one long "reply" handed over at the bound; a real one follows cleanly.
    replies = feedPieces(assembler, {";FA00014025000;"});
    ASSERT_EQ(replies.size(), 2);
    EXPECT_EQ(replies[0].size(), assembler.capacity());
    EXPECT_EQ(replies[1], "FA00014025000;");

    ReplyAssembler raw(model(u"Other"));
    raw.queryOut(0, 0);
    replies = feedPieces(raw, {garbage});
    ASSERT_EQ(replies.size(), 1);
    EXPECT_EQ(replies[0].size(), raw.capacity());
}

TEST(ReplyAssembler, HandsEachReadWholeForOther)
{
    ReplyAssembler assembler(model(u"Other"));
    assembler.queryOut(0, 0);
    EXPECT_EQ(feedPieces(assembler, {"abc", "", "de"}), (QList<QByteArray>{"abc", "de"}));
    EXPECT_FALSE(assembler.holdsPartialReply());
}

}  // namespace
