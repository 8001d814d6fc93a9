// libcw, an independent Morse implementation, as a peer: its character table must equal ours,
// and its receiver must read our keyed timings back as the text that was sent.
#include "CwSenderFixture.h"
#include "cw/MorseTable.h"

#include <libcw.h>

#include <sys/time.h>

#include <cstdlib>

namespace cubwave {
namespace {

using test::CwSenderTest;
using test::KeyEdge;

TEST(LibcwPeer, PatternsEqualOurTable)
{
    const QString characters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/=");
    for (QChar c : characters) {
        char* theirs = cw_character_to_representation(c.toLatin1());
        ASSERT_NE(theirs, nullptr) << c.toLatin1();
        EXPECT_EQ(MorseTable::pattern(c), QString::fromLatin1(theirs)) << c.toLatin1();
        std::free(theirs);
    }
}

timeval toTimeval(qint64 ns)
{
    const qint64 us = ns / 1000;
    return timeval{static_cast<time_t>(us / 1'000'000), static_cast<suseconds_t>(us % 1'000'000)};
}

// Feeds key edges to libcw's receiver at a fixed speed and collects what it reads.
QString receive(const std::vector<KeyEdge>& edges, int wpm, qint64 endNs)
{
    cw_disable_adaptive_receive();
    cw_set_receive_speed(wpm);
    cw_clear_receive_buffer();
    QString text;
    const auto poll = [&text](qint64 ns) {
        const timeval tv = toTimeval(ns);
        char c = 0;
        bool endOfWord = false;
        bool error = false;
        if (cw_receive_character(&tv, &c, &endOfWord, &error) == CW_SUCCESS) {
            text += QLatin1Char(c);
            if (endOfWord)
                text += QLatin1Char(' ');
            cw_clear_receive_buffer();
        }
    };
    for (size_t i = 0; i < edges.size(); ++i) {
        const timeval tv = toTimeval(edges[i].ns);
        if (edges[i].down) {
            if (i > 0)
                poll(edges[i].ns);
            cw_start_receive_tone(&tv);
        } else {
            cw_end_receive_tone(&tv);
        }
    }
    poll(endNs);
    return text.trimmed();
}

class LibcwReceives : public CwSenderTest, public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(LibcwReceives, OurKeyingAsTheSentText)
{
    const auto [wpm, space] = GetParam();
    configure([&](CwSettings& s) {
        s.speedWpm = QString::number(wpm);
        s.wordSpace = QString::number(space);
    });
    const QString sent = QStringLiteral("CQ TEST DE W1AW 5NN TU");
    send(sent);
    const QString read = receive(keyedDtr(), wpm, timer.nowNs() + 20LL * 1'200'000'000 / wpm);
    EXPECT_EQ(read, sent) << wpm << " WPM, word space " << space;
}

INSTANTIATE_TEST_SUITE_P(SpeedsAndWordSpaces, LibcwReceives,
                         ::testing::Combine(::testing::Values(13, 20, 32), ::testing::Values(-4, 0, 2)));

}  // namespace
}  // namespace cubwave
