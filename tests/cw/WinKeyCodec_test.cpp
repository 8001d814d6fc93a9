#include "cw/WinKeyCodec.h"
#include "cw/WinKeyStreamDecoder.h"

#include <gtest/gtest.h>

#include <string>

namespace cubwave {
namespace {

QByteArray hex(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

TEST(WinKeyCodec, EachOperationHasItsBytes)
{
    const struct {
        const char* what;
        QByteArray bytes;
        QByteArray expected;
    } cases[] = {
        {"speed", WinKeyCodec::speed(99), hex({0x02, 99})},
        {"weight", WinKeyCodec::weight(0), hex({0x03, 0})},
        {"lead and tail", WinKeyCodec::leadTail(255, 7), hex({0x04, 255, 7})},
        {"backspace", WinKeyCodec::backspace(), hex({0x08})},
        {"pins", WinKeyCodec::pinConfig(6), hex({0x09, 6})},
        {"clear", WinKeyCodec::clearBuffer(), hex({0x0A})},
        {"mode Iambic B", WinKeyCodec::mode(0), hex({0x0E, 0x04})},
        {"mode Bug keeps its bits", WinKeyCodec::mode(48), hex({0x0E, 52})},
        {"mode with echo already", WinKeyCodec::mode(0x04), hex({0x0E, 0x04})},
        {"ratio", WinKeyCodec::ratio(32), hex({0x17, 32})},
        {"status request has no admin prefix", WinKeyCodec::requestStatus(), hex({0x15})},
        {"echo test", WinKeyCodec::echoTest(0x55), hex({0x00, 0x04, 0x55})},
        {"host open", WinKeyCodec::hostOpen(), hex({0x00, 0x02})},
        {"host close", WinKeyCodec::hostClose(), hex({0x00, 0x03})},
        {"nulls", WinKeyCodec::nulls(3), hex({0x13, 0x13, 0x13})},
        {"no nulls", WinKeyCodec::nulls(-1), QByteArray()},
        {"farewell", WinKeyCodec::farewell(), hex({0x0A, 0x0A, 0x0A, 0x00, 0x03})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.bytes.toHex(' '), c.expected.toHex(' ')) << c.what;
}

// Control codes are commands to the keyer (0x18 keys PTT with the next byte as its argument,
// 0x19 keys the transmitter for the next byte's seconds): they never go as text.
TEST(WinKeyCodec, OnlyPrintableAsciiGoesAsText)
{
    for (int code = 0; code < 256; ++code) {
        const QByteArray bytes = WinKeyCodec::character(uchar(code));
        if (code >= 0x20 && code <= 0x7E)
            EXPECT_EQ(bytes, QByteArray(1, char(code))) << code;
        else
            EXPECT_TRUE(bytes.isEmpty()) << code;
    }
}

// A farewell cut in after a command whose arguments are still missing completes that command
// with harmless values, and the keyer is still cleared and closed.
TEST(WinKeyCodec, FarewellClearsEvenAfterAHalfCommand)
{
    // Arguments still owed when the farewell lands: none, one, two.
    for (int owed = 0; owed <= 2; ++owed) {
        const QByteArray rest = WinKeyCodec::farewell().mid(owed);
        ASSERT_TRUE(rest.startsWith(char(WinKeyCodec::kClearBuffer))) << owed;
        EXPECT_TRUE(rest.endsWith(WinKeyCodec::hostClose())) << owed;
    }
}

struct Recorder final : WinKeyStreamDecoder::Sink {
    void status(quint8 b) override { log += "S" + std::to_string(b) + " "; }
    void speedPot(quint8 v) override { log += "P" + std::to_string(v) + " "; }
    void reply(quint8 v) override { log += "R" + std::to_string(v) + " "; }
    void echo(char c) override { log += std::string("E") + c + " "; }
    std::string log;
};

struct DecoderCase {
    const char* what;
    bool echoBack;
    bool expectReply;
    QByteArray stream;
    std::string events;
    quint64 dropped;
};

const DecoderCase kDecoderCases[] = {
    {"statuses and pot", false, false, hex({0xC0, 0xC4, 0x80, 0xBF, 0xC1}), "S192 S196 P0 P63 S193 ", 0},
    {"echoes with echo-back", true, false, QByteArray("CQ"), "EC EQ ", 0},
    {"no echoes without echo-back", false, false, QByteArray("CQ") + hex({0xC4}), "S196 ", 2},
    {"a reply whatever its value", false, true, hex({0xC4, 0xC0}), "R196 S192 ", 0},
    {"one reply only", true, true, hex({23, 0x41, 0xC4}), "R23 EA S196 ", 0},
    {"the echo test's answer", true, true, hex({0x55, 0x55}), "R85 EU ", 0},
    {"mixed", true, false, hex({0x54, 0xC4, 0x45, 0x85, 0xC0}), "ET S196 EE P5 S192 ", 0},
};

// Every byte stands alone: any split of the stream decodes the same.
TEST(WinKeyStreamDecoder, DecodesEveryKindAtEverySplit)
{
    for (const DecoderCase& c : kDecoderCases) {
        for (qsizetype cut = 0; cut <= c.stream.size(); ++cut) {
            for (qsizetype cut2 = cut; cut2 <= c.stream.size(); ++cut2) {
                WinKeyStreamDecoder d;
                d.setEchoBack(c.echoBack);
                if (c.expectReply)
                    d.expectReply();
                Recorder r;
                d.feed(QByteArrayView(c.stream).first(cut), r);
                d.feed(QByteArrayView(c.stream).sliced(cut, cut2 - cut), r);
                d.feed(QByteArrayView(c.stream).sliced(cut2), r);
                EXPECT_EQ(r.log, c.events) << c.what << " cut at " << cut << "," << cut2;
                EXPECT_EQ(d.dropped(), c.dropped) << c.what;
                EXPECT_FALSE(d.replyExpected()) << c.what;
            }
        }
    }
}

TEST(WinKeyStreamDecoder, ACancelledReplyIsNotTaken)
{
    WinKeyStreamDecoder d;
    d.expectReply();
    d.cancelReply();
    Recorder r;
    d.feed(hex({23}), r);
    EXPECT_EQ(r.log, "");
    EXPECT_EQ(d.dropped(), 1u);
}

}  // namespace
}  // namespace cubwave
