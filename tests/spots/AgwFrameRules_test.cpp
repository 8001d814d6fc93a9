#include "spots/AgwFramePoll.h"
#include "spots/AgwFrameRules.h"

#include <gtest/gtest.h>

using namespace cubwave;
using Event = AgwFrameOutcome::Event;

namespace {

const QString kSpot = QStringLiteral("DX de W3LPL:     14025.0  K1ABC        cq                1200Z");
const QString kHeader = QStringLiteral(" 1:Fm W3LPL To DX <UI pid=F0 Len=62 >[12:00:01]\r");

AgwPacketEngine::Received frame(char kind, const QString& call, const QString& data)
{
    return {call, data, kind};
}

struct Case {
    const char* name;
    AgwPacketEngine::Received frame;
    QString connected;
    bool listDxOnly;
    QString alreadyShown;  // the received text the duplicate test searches
    AgwFrameOutcome expected;
};

}  // namespace

TEST(AgwFrameRules, WhatEachFrameShowsHandsOverAndStartsOrEnds)
{
    const QString crlf = QStringLiteral("\r\n");
    const std::vector<Case> cases = {
        {"monitored spot: header line dropped, handed over", frame('U', "W3LPL", kHeader + kSpot + "\r"), {}, false,
         {}, {kSpot + crlf, kSpot + crlf, Event::None, {}}},
        {"the same spot again is a duplicate", frame('U', "W3LPL", kHeader + kSpot + "\r"), {}, false,
         "older text\r\n" + kSpot.toLower() + "\r\n", {}},
        {"monitored chat shown", frame('U', "N0CALL", kHeader + "hello all\r"), {}, false, {},
         {"hello all\r\n", {}, Event::None, {}}},
        {"monitored chat hidden by List DX Only", frame('U', "N0CALL", kHeader + "hello all\r"), {}, true, {}, {}},
        {"monitored text mentioning \"DX \" inside is not shown", frame('U', "N0CALL", kHeader + "CQ DX de me\r"), {},
         false, {}, {}},
        {"a line break before the spot: DX at 3 is no spot", frame('U', "W3LPL", kHeader + "\r" + kSpot), {}, false,
         {}, {}},
        {"lower-case dx is a spot", frame('U', "W3LPL", kHeader + kSpot.toLower()), {}, false, {},
         {kSpot.toLower(), kSpot.toLower(), Event::None, {}}},
        {"DX one character in: cut from the DX", frame('D', "K1ABC", ">" + kSpot + "\r"), "K1ABC", false, {},
         {">" + kSpot + crlf, kSpot + crlf, Event::None, {}}},
        {"connected station's data shown whole", frame('D', "k1abc", "Welcome\rto the node\r"), "K1ABC", false, {},
         {"Welcome\r\nto the node\r\n", {}, Event::None, {}}},
        {"another station's data while connected is not shown", frame('D', "N0CALL", "psst\r"), "K1ABC", false, {},
         {}},
        {"a trailing blank line is cut", frame('D', "K1ABC", "bye\r\r"), "K1ABC", false, {},
         {"bye\r\n", {}, Event::None, {}}},
        {"a lone line end is nothing", frame('D', "K1ABC", "\n"), "K1ABC", false, {}, {}},
        {"connect report kept whole and starts the connection",
         frame('c', "K1ABC", "*** CONNECTED With Station K1ABC\r"), {}, false, {},
         {"*** CONNECTED With Station K1ABC\r\n", {}, Event::Connected, "K1ABC"}},
        {"a failed connect is seen, even with List DX Only",
         frame('d', "K1ABC", "*** DISCONNECTED RETRYOUT With K1ABC\r"), {}, true, {},
         {"*** DISCONNECTED RETRYOUT With K1ABC\r\n", {}, Event::None, {}}},
        {"the connected station's disconnect ends the connection",
         frame('d', "K1ABC", "*** DISCONNECTED From Station K1ABC\r"), "k1abc", false, {},
         {"*** DISCONNECTED From Station K1ABC\r\n", {}, Event::Disconnected, "k1abc"}},
        {"another station's disconnect leaves it", frame('d', "N0CALL", "*** DISCONNECTED From Station N0CALL\r"),
         "K1ABC", false, {}, {"*** DISCONNECTED From Station N0CALL\r\n", {}, Event::None, {}}},
        {"a connect report without a call connects nobody", frame('c', " ", "*** CONNECTED With Station\r"), {},
         false, {}, {"*** CONNECTED With Station\r\n", {}, Event::None, {}}},
        {"a second connect while connected changes nothing",
         frame('c', "N0CALL", "*** CONNECTED To Station N0CALL\r"), "K1ABC", false, {},
         {"*** CONNECTED To Station N0CALL\r\n", {}, Event::None, {}}},
    };
    for (const Case& c : cases) {
        const QString shown = c.alreadyShown;
        const auto isDuplicate = [&shown](const QString& text) { return shown.contains(text, Qt::CaseInsensitive); };
        EXPECT_EQ(AgwFrameRules::apply(c.frame, c.connected, c.listDxOnly, isDuplicate), c.expected) << c.name;
    }
}

TEST(AgwFrameRules, ReceivedBytesStayOneCharacterEach)
{
    const QString latin = QString::fromLatin1("caf\xe9 \x01\x7f\xff");
    EXPECT_EQ(AgwFrameRules::frameText(frame('D', "K1ABC", latin), true), latin);
    EXPECT_EQ(AgwFrameRules::frameText(frame('U', "K1ABC", "no line break  "), false), "no line break");
}
