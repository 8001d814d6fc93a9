#include "spots/TelnetNegotiation.h"

#include <gtest/gtest.h>

using namespace cubwave;

namespace {

constexpr char IAC = char(255), DONT = char(254), DO = char(253), WONT = char(252), WILL = char(251), SB = char(250),
               SE = char(240), NOP = char(241);
constexpr char ECHO = 1, SGA = 3, TTYPE = 24, NAWS = 31;

QByteArray bytes(std::initializer_list<char> list) { return QByteArray(list.begin(), qsizetype(list.size())); }

TEST(TelnetNegotiation, RefusesEveryOptionOnceAndAnswersNoRefusal)
{
    TelnetNegotiation telnet;
    const auto first = telnet.decode(bytes({IAC, DO, TTYPE, IAC, WILL, ECHO, IAC, DO, NAWS, 'o', 'k'}));
    EXPECT_EQ(first.text, QStringLiteral("ok"));
    EXPECT_EQ(first.answer, bytes({IAC, WONT, TTYPE, IAC, DONT, ECHO, IAC, WONT, NAWS}));

    // Asked again: already answered, so nothing goes back and no loop can start.
    const auto again = telnet.decode(bytes({IAC, DO, TTYPE, IAC, WILL, ECHO, IAC, WONT, SGA, IAC, DONT, SGA}));
    EXPECT_TRUE(again.text.isEmpty());
    EXPECT_TRUE(again.answer.isEmpty());

    // DO and WILL of the same option are answered each once.
    const auto other = telnet.decode(bytes({IAC, WILL, TTYPE, IAC, DO, ECHO}));
    EXPECT_EQ(other.answer, bytes({IAC, DONT, TTYPE, IAC, WONT, ECHO}));

    telnet.reset();  // a new connection asks afresh
    EXPECT_EQ(telnet.decode(bytes({IAC, DO, TTYPE})).answer, bytes({IAC, WONT, TTYPE}));
}

TEST(TelnetNegotiation, TheSameStreamDecodesTheSameWhereverItIsSplit)
{
    QByteArray stream("login: ");
    stream += bytes({IAC, DO, TTYPE, IAC, SB, TTYPE, 1, IAC, IAC, 'x', IAC, SE, IAC, NOP, 'c', 'a', 'l', 'l', IAC, IAC, '\r',
                     0, '\n', IAC, WILL, ECHO, char(0xE9), '!'});
    const QString expectedText = QStringLiteral("login: call") + QChar(0xFF) + QStringLiteral("\r\n") + QChar(0xE9) + u'!';
    const QByteArray expectedAnswer = bytes({IAC, WONT, TTYPE, IAC, DONT, ECHO});

    TelnetNegotiation whole;
    const auto once = whole.decode(stream);
    EXPECT_EQ(once.text, expectedText);
    EXPECT_EQ(once.answer, expectedAnswer);
    for (qsizetype cut = 1; cut < stream.size(); ++cut) {
        TelnetNegotiation split;
        const auto a = split.decode(stream.left(cut));
        const auto b = split.decode(stream.mid(cut));
        ASSERT_EQ(a.text + b.text, expectedText) << "split at " << cut;
        ASSERT_EQ(a.answer + b.answer, expectedAnswer) << "split at " << cut;
    }
}

TEST(TelnetNegotiation, AnEndlessSubnegotiationGivesWayToTextAfterOneKilobyte)
{
    TelnetNegotiation telnet;
    QByteArray stream = bytes({IAC, SB, TTYPE});
    stream += QByteArray(TelnetNegotiation::kMaxSubnegotiation - 1, 'x');  // with TTYPE: 1 KiB exactly
    EXPECT_TRUE(telnet.decode(stream).text.isEmpty());
    const auto after = telnet.decode("yz");
    EXPECT_EQ(after.text, QStringLiteral("z"));  // the first byte beyond the bound ends the skip
}

TEST(TelnetNegotiation, ReceivedBytesAreLatin1OneByteOneCharacter)
{
    QByteArray all;
    for (int b = 1; b < 255; ++b)
        all.append(char(b));
    const auto decoded = TelnetNegotiation().decode(all);
    ASSERT_EQ(decoded.text.size(), 254);
    for (int b = 1; b < 255; ++b)
        EXPECT_EQ(decoded.text[b - 1].unicode(), b);
    // A NUL not after a CR is kept: it is the peer's text.
    EXPECT_EQ(TelnetNegotiation().decode(bytes({'a', 0, 'b'})).text.size(), 3);
}

TEST(TelnetNegotiation, OutgoingTextDoublesIacAndIsLatin1)
{
    const QString text = QStringLiteral("DX ") + QChar(0xFF) + QChar(0xE9) + QChar(0x20AC) + QStringLiteral("\r\n");
    EXPECT_EQ(TelnetNegotiation::encodeOutgoing(text), bytes({'D', 'X', ' ', IAC, IAC, char(0xE9), '?', '\r', '\n'}));
}

}  // namespace
