#include "spots/AgwFrame.h"
#include "support/AgwEngineSimulator.h"

#include <gtest/gtest.h>

using namespace cubwave;
using cubwave::test::AgwEngineSimulator;

namespace {

AgwFrame frame(char kind, const char* from, const char* to, const QByteArray& data, int port = 0, int pid = 0)
{
    AgwFrame f;
    f.port = port;
    f.kind = kind;
    f.pid = quint8(pid);
    f.callFrom = from;
    f.callTo = to;
    f.data = data;
    return f;
}

std::vector<AgwFrame> decodeAll(AgwFrameDecoder& decoder)
{
    std::vector<AgwFrame> frames;
    while (std::optional<AgwFrame> f = decoder.next())
        frames.push_back(*f);
    return frames;
}

}  // namespace

TEST(AgwFrame, EncodesTheTutorialsHeaderLayoutByteForByte)
{
    const QByteArray bytes = frame('D', "W1AW", "K1ABC-7", "hi\r", 1, 0xF0).encode();
    const QByteArray expected = QByteArray::fromHex("01000000"            // port 1, little-endian
                                                    "4400f000"            // 'D', reserved, PID F0, reserved
                                                    "57314157000000000000"  // "W1AW", NUL padded to 10
                                                    "4b314142432d37000000"  // "K1ABC-7"
                                                    "03000000"            // data length 3
                                                    "00000000")           // user
                                + "hi\r";
    EXPECT_EQ(bytes.toHex(), expected.toHex());
    // The simulator lays frames out from the same document on its own.
    EXPECT_EQ(bytes, AgwEngineSimulator::frameBytes(1, 'D', 0xF0, "W1AW", "K1ABC-7", "hi\r"));
}

TEST(AgwFrame, ACallTooLongForItsFieldIsCutLeavingTheNul)
{
    const QByteArray bytes = frame('X', "ABCDEFGHIJKL", "", {}).encode();
    ASSERT_EQ(bytes.size(), AgwFrame::kHeaderBytes);
    EXPECT_EQ(bytes.mid(8, 10), QByteArray("ABCDEFGHI\0", 10));
}

TEST(AgwFrameDecoder, GivesTheSameFramesWhereverTheStreamIsSplit)
{
    const std::vector<AgwFrame> sent = {
        frame('R', "", "", QByteArray::fromHex("d5070000 7f000000")),
        frame('U', "DL1AA", "DX", " 1:Fm DL1AA To DX <UI pid=F0 Len=9 >[12:00:00]\rDX de me\r\0", 0, 0xF0),
        frame('m', "", "", {}),
        frame('D', "K1ABC", "W1AW", QByteArray(300, '\xff'), 3, 0xF0),
    };
    QByteArray stream;
    for (const AgwFrame& f : sent)
        stream += f.encode();

    for (qsizetype cut1 = 0; cut1 <= stream.size(); ++cut1) {
        for (qsizetype cut2 : {cut1, std::min(stream.size(), cut1 + 1), std::min(stream.size(), cut1 + 37)}) {
            AgwFrameDecoder decoder;
            std::vector<AgwFrame> got;
            for (QByteArrayView piece : {QByteArrayView(stream).first(cut1), QByteArrayView(stream).sliced(cut1, cut2 - cut1),
                                         QByteArrayView(stream).sliced(cut2)}) {
                decoder.feed(piece);
                for (AgwFrame& f : decodeAll(decoder))
                    got.push_back(f);
            }
            ASSERT_EQ(got, sent) << "cut at " << cut1 << " and " << cut2;
            EXPECT_EQ(decoder.pendingBytes(), 0);
        }
    }
}

TEST(AgwFrameDecoder, ByteByByteAndFramesSharingAPiece)
{
    const QByteArray a = frame('U', "A", "B", "one").encode();
    const QByteArray b = frame('I', "C", "D", "").encode();
    AgwFrameDecoder decoder;
    std::vector<AgwFrame> got;
    const QByteArray stream = a + b + a;
    for (char c : stream) {
        decoder.feed(QByteArrayView(&c, 1));
        for (AgwFrame& f : decodeAll(decoder))
            got.push_back(f);
    }
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1].kind, 'I');
    EXPECT_TRUE(got[1].data.isEmpty());
    EXPECT_EQ(got[2].data, "one");
}

TEST(AgwFrameDecoder, AHeaderAnnouncingMoreThan64KiBIsAProtocolErrorForGood)
{
    AgwFrame atLimit = frame('D', "A", "B", QByteArray(AgwFrameDecoder::kMaxDataBytes, 'x'));
    AgwFrameDecoder decoder;
    decoder.feed(atLimit.encode());
    ASSERT_TRUE(decoder.next().has_value());
    EXPECT_FALSE(decoder.failed());

    QByteArray huge = frame('D', "A", "B", {}).encode();
    huge[28] = '\x01';
    huge[29] = '\x00';
    huge[30] = '\x01';  // 65,537 bytes announced
    decoder.feed(huge);
    EXPECT_FALSE(decoder.next().has_value());
    EXPECT_TRUE(decoder.failed());
    EXPECT_FALSE(decoder.problem().isEmpty());
    // Nothing after it is trusted, and nothing piles up.
    decoder.feed(frame('U', "A", "B", "x").encode());
    EXPECT_FALSE(decoder.next().has_value());
    EXPECT_EQ(decoder.pendingBytes(), 0);

    AgwFrameDecoder negative;  // 0xFFFFFFFF read as a length, never as -1
    QByteArray bad = frame('D', "A", "B", {}).encode();
    bad.replace(28, 4, QByteArray(4, '\xff'));
    negative.feed(bad);
    EXPECT_FALSE(negative.next().has_value());
    EXPECT_TRUE(negative.failed());
}

TEST(AgwFrameDecoder, CallsWithoutANulStopAtTheirField)
{
    QByteArray bytes = frame('U', "", "", "z").encode();
    bytes.replace(8, 20, QByteArray("ABCDEFGHIJKLMNOPQRST"));
    AgwFrameDecoder decoder;
    decoder.feed(bytes);
    const std::optional<AgwFrame> f = decoder.next();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->callFrom, "ABCDEFGHIJ");
    EXPECT_EQ(f->callTo, "KLMNOPQRST");
    EXPECT_EQ(f->data, "z");
}
