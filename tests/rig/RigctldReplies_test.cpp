// rigctld's plain answers cut from the stream, as Debian's rigctld 4.5 gives them: whole answers
// however the socket splits them, and everything that is no answer to the request refused.
#include "rig/RigctldReplies.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

using Status = RigctldReplyReader::Status;

struct Case {
    const char* name;
    int valueLines;
    QByteArray stream;
    Status status;
    QList<QByteArray> lines;
    std::optional<int> rprt;
};

const Case kCases[] = {
    {"frequency", 1, "14025000\n", Status::Done, {"14025000"}, {}},
    {"mode and passband", 2, "CW\n500\n", Status::Done, {"CW", "500"}, {}},
    {"set answered", 0, "RPRT 0\n", Status::Done, {}, 0},
    {"get failed", 2, "RPRT -11\n", Status::Done, {}, -11},
    {"set failed", 0, "RPRT -1\n", Status::Done, {}, -1},
    {"carriage return tolerated", 1, "7025000\r\n", Status::Done, {"7025000"}, {}},
    {"half a mode answer", 2, "USB\n", Status::NeedMore, {}, {}},
    {"a value where a report belongs", 0, "14025000\n", Status::Malformed, {}, {}},
    {"a report among the value lines", 2, "CW\nRPRT -1\n", Status::Malformed, {}, {}},
    {"more than the answer", 1, "14025000\n7000000\n", Status::Malformed, {}, {}},
    {"unreadable report", 0, "RPRT x\n", Status::Malformed, {}, {}},
    {"a line without end beyond the bound", 1, QByteArray(RigctldReplyReader::kMaxLineBytes + 1, '1'),
     Status::Malformed, {}, {}},
    {"a long line with its end", 1, QByteArray(RigctldReplyReader::kMaxLineBytes + 1, '1') + '\n', Status::Malformed,
     {}, {}},
};

// Feeds the stream cut at one point (0: whole); the status after the last piece.
Status feedSplit(RigctldReplyReader& reader, const Case& c, qsizetype cut)
{
    reader.expect(c.valueLines);
    if (cut <= 0 || cut >= c.stream.size())
        return reader.feed(c.stream);
    const Status first = reader.feed(QByteArrayView(c.stream).first(cut));
    if (first == Status::Malformed)
        return first;
    return reader.feed(QByteArrayView(c.stream).sliced(cut));
}

}  // namespace

TEST(RigctldReplyReader, EveryAnswerReadsTheSameWhereverTheStreamIsCut)
{
    for (const Case& c : kCases) {
        for (qsizetype cut = 0; cut < c.stream.size(); ++cut) {
            SCOPED_TRACE(std::string(c.name) + ", cut at " + std::to_string(cut));
            RigctldReplyReader reader;
            const Status status = feedSplit(reader, c, cut);
            EXPECT_EQ(status, c.status);
            if (status == Status::Done) {
                EXPECT_EQ(reader.reply().lines, c.lines);
                EXPECT_EQ(reader.reply().rprt, c.rprt);
            }
            if (status == Status::Malformed)
                EXPECT_FALSE(reader.reason().isEmpty());
        }
    }
}

TEST(RigctldReplyReader, BytesNobodyAskedForAreMalformedAndANewRequestStartsClean)
{
    RigctldReplyReader reader;
    EXPECT_EQ(reader.feed("14025000\n"), Status::Malformed);
    reader.expect(1);
    EXPECT_EQ(reader.feed("1402"), Status::NeedMore);
    reader.expect(2);  // a new request forgets the half line of the last
    EXPECT_EQ(reader.feed("LSB\n2400\n"), Status::Done);
    EXPECT_EQ(reader.reply().lines, (QList<QByteArray>{"LSB", "2400"}));
    EXPECT_EQ(reader.feed("x"), Status::Malformed);
}

TEST(RigctldValues, FrequenciesModesAndPassbandsAsRigctldPrintsThem)
{
    EXPECT_EQ(RigctldValues::frequencyHz("14025000"), 14025000);
    EXPECT_EQ(RigctldValues::frequencyHz("7025000.000000"), 7025000);
    EXPECT_EQ(RigctldValues::frequencyHz("3573999.6"), 3574000);
    for (const char* bad : {"", "0", "-7025000", "14 025 000", "1e7", "14025000x", "99999999999999", ".5", "7.0.0"})
        EXPECT_EQ(RigctldValues::frequencyHz(bad), std::nullopt) << bad;

    EXPECT_STREQ(RigctldValues::loggingMode("CW"), "CW");
    EXPECT_STREQ(RigctldValues::loggingMode("CWR"), "CW");
    for (const char* voice : {"USB", "LSB", "AM", "FM", "RTTY", "PKTUSB"})
        EXPECT_STREQ(RigctldValues::loggingMode(voice), "PH") << voice;
    EXPECT_TRUE(RigctldValues::isModeName("PKTUSB"));
    EXPECT_FALSE(RigctldValues::isModeName("usb"));
    EXPECT_FALSE(RigctldValues::isModeName(""));
    EXPECT_TRUE(RigctldValues::isPassband("2400"));
    EXPECT_TRUE(RigctldValues::isPassband("-1"));
    EXPECT_FALSE(RigctldValues::isPassband("-"));
    EXPECT_FALSE(RigctldValues::isPassband("wide"));
}

TEST(RigctldValues, ModeTextsGetHamlibsNamesAndRprtCodesItsTexts)
{
    EXPECT_EQ(RigctldValues::hamlibMode(u"CW-R"), "CWR");
    EXPECT_EQ(RigctldValues::hamlibMode(u"usb"), "USB");
    EXPECT_EQ(RigctldValues::hamlibMode(u"RTTY-R"), "RTTYR");
    EXPECT_EQ(RigctldValues::hamlibMode(u"PH"), "");
    EXPECT_EQ(RigctldValues::errorText(-1), "Invalid parameter");
    EXPECT_EQ(RigctldValues::errorText(-20), "Rig is not powered on");
    EXPECT_EQ(RigctldValues::errorText(-99), "Hamlib error -99");
    EXPECT_EQ(RigctldValues::errorText(5), "Hamlib error 5");
}
