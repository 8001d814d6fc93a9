#include "cw/WinKeyCodec.h"
#include "cw/WinKeyDriver.h"
#include "support/FakeClock.h"
#include "support/FakeKeying.h"
#include "support/FakeOneShotTimer.h"

#include <gtest/gtest.h>

namespace cubwave {
namespace {

using test::FakeClock;
using test::FakeOneShotTimer;
using test::FakeSerialLine;

QByteArray hex(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

constexpr quint8 kIdle = 0xC0;
constexpr quint8 kBusy = 0xC4;
constexpr quint8 kXoffBusy = 0xC5;

// A driver on a fake line, its timer fired by hand on a fake clock.
struct Rig {
    FakeClock clock;
    FakeOneShotTimer timer;
    FakeSerialLine line;
    WinKeyDriver driver{line, clock, timer};
    int result = 99;
    int version = -1;
    int results = 0;
    QStringList closedReasons;
    int endings = 0;

    Rig()
    {
        driver.onClosedByItself([this](const QString& reason) { closedReasons << reason; });
        driver.onSendingEnded([this] { ++endings; });
    }
    void startOpen()
    {
        driver.open(QStringLiteral("/dev/ttyUSB7"), [this](int r, quint8 v) {
            result = r;
            version = v;
            ++results;
        });
    }
    void tick(int times = 1)
    {
        for (int i = 0; i < times && timer.isActive(); ++i)
            timer.fire(clock);
    }
    // Ticks until the line has been written bytes ending so, at most limit ticks.
    bool tickUntilWritten(const QByteArray& tail, int limit = 200)
    {
        for (int i = 0; i < limit && !line.written.endsWith(tail); ++i)
            tick();
        return line.written.endsWith(tail);
    }
    void answer(const QByteArray& bytes)
    {
        line.incoming += bytes;
        tick();
    }
    void open()
    {
        startOpen();
        ASSERT_TRUE(tickUntilWritten(WinKeyCodec::echoTest(0x55)));
        answer(hex({0x55}));
        ASSERT_TRUE(line.written.endsWith(WinKeyCodec::hostOpen()));
        answer(hex({23}));
        ASSERT_EQ(result, WinKeyDriver::kSuccess);
        line.written.clear();
    }
};

TEST(WinKeyDriver, OpensAt1200WithHandshakeAfterTheSettleTime)
{
    Rig rig;
    rig.startOpen();
    EXPECT_EQ(rig.results, 0) << "the handshake runs on the timer, not in the call";
    EXPECT_TRUE(rig.driver.opening());
    EXPECT_EQ(rig.line.settings, WinKeyDriver::kLineSettings);
    EXPECT_EQ(rig.line.handshaking, 0);
    // Dropped at open by the line, then DTR up: the supply of a keyer on a plain serial port.
    const auto dtr = rig.line.edges(ModemLine::Dtr);
    ASSERT_EQ(dtr.size(), 2u);
    EXPECT_TRUE(dtr.back().down);
    // Nothing goes out before a USB keyer has had its time to come up.
    while (rig.clock.ticksMs() + rig.timer.intervalMs < 300)
        rig.tick();
    EXPECT_TRUE(rig.line.written.isEmpty());
    ASSERT_TRUE(rig.tickUntilWritten(WinKeyCodec::echoTest(0x55), 3));
    EXPECT_EQ(rig.line.written, WinKeyCodec::nulls(3) + WinKeyCodec::echoTest(0x55));
    rig.answer(hex({0x55}));
    EXPECT_EQ(rig.line.written.mid(6), WinKeyCodec::hostOpen());
    rig.answer(hex({23}));
    EXPECT_EQ(rig.result, WinKeyDriver::kSuccess);
    EXPECT_EQ(rig.version, 23);
    EXPECT_EQ(rig.driver.version(), 23);
    EXPECT_TRUE(rig.driver.isOpen());
    // Echo-back on before any character can go, and the exit paths know how to say goodbye.
    EXPECT_EQ(rig.line.written.mid(8), WinKeyCodec::mode(0));
    EXPECT_EQ(rig.line.farewell, WinKeyCodec::farewell());
    EXPECT_EQ(rig.driver.status(), 0);
    EXPECT_EQ(WinKeyDriver::resultText(rig.result), "WK Success!");
}

TEST(WinKeyDriver, OpenFailuresGiveTheirCodesAndLeaveThePortClosed)
{
    enum class Fault { PortRefused, Silent, WrongEcho, NoRevision, RevisionZero, LineFails };
    const struct {
        Fault fault;
        int code;
        const char* text;
    } cases[] = {
        {Fault::PortRefused, WinKeyDriver::kPortOpenFailed, "Com Open Failed"},
        {Fault::Silent, WinKeyDriver::kNoEcho, "No Echo Response"},
        {Fault::WrongEcho, WinKeyDriver::kEchoMismatch, "Echo Mismatch"},
        {Fault::NoRevision, WinKeyDriver::kNoOpenResponse, "No Open Response"},
        {Fault::RevisionZero, WinKeyDriver::kNoOpenResponse, "No Open Response"},
        {Fault::LineFails, WinKeyDriver::kNoEcho, "No Echo Response"},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.line.failOpen = c.fault == Fault::PortRefused;
        rig.startOpen();
        if (c.fault != Fault::PortRefused) {
            ASSERT_TRUE(rig.tickUntilWritten(WinKeyCodec::echoTest(0x55))) << c.text;
            if (c.fault == Fault::WrongEcho)
                rig.answer(hex({0xAA}));
            if (c.fault == Fault::NoRevision || c.fault == Fault::RevisionZero)
                rig.answer(hex({0x55}));
            if (c.fault == Fault::RevisionZero)
                rig.answer(hex({0}));
            if (c.fault == Fault::LineFails)
                rig.line.lost = true;
            // Within the reply timeout and a tick, whatever happens.
            for (int i = 0; i < 60 && rig.results == 0; ++i)
                rig.tick();
        }
        EXPECT_EQ(rig.results, 1) << c.text;
        EXPECT_EQ(rig.result, c.code) << c.text;
        EXPECT_EQ(rig.version, 0) << c.text;
        EXPECT_EQ(WinKeyDriver::resultText(rig.result), c.text);
        EXPECT_FALSE(rig.line.isOpen()) << c.text;
        EXPECT_FALSE(rig.driver.isOpen()) << c.text;
        EXPECT_FALSE(rig.timer.isActive()) << c.text;
        EXPECT_FALSE(rig.driver.errorText().isEmpty()) << c.text;
        EXPECT_EQ(rig.driver.sendCharacter('A'), WinKeyDriver::kNotOpen) << c.text;
    }
}

TEST(WinKeyDriver, NeverOpensTwiceAtOnce)
{
    Rig rig;
    rig.startOpen();
    int second = 99;
    rig.driver.open(QStringLiteral("/dev/ttyUSB7"), [&](int r, quint8) { second = r; });
    EXPECT_EQ(second, WinKeyDriver::kOpenRunning);
    EXPECT_EQ(rig.line.opens.size(), 1u);
    EXPECT_EQ(WinKeyDriver::resultText(second), "") << "leaves the label alone";
    ASSERT_TRUE(rig.tickUntilWritten(WinKeyCodec::echoTest(0x55)));
    rig.answer(hex({0x55}));
    rig.answer(hex({23}));
    rig.driver.open(QStringLiteral("/dev/ttyUSB7"), [&](int r, quint8 v) {
        second = r;
        EXPECT_EQ(v, 23);
    });
    EXPECT_EQ(second, WinKeyDriver::kAlreadyOpen);
    EXPECT_EQ(rig.line.opens.size(), 1u);
}

TEST(WinKeyDriver, EveryOperationOnAClosedKeyerIsNotOpen)
{
    Rig rig;
    const std::pair<const char*, std::function<int()>> ops[] = {
        {"status", [&] { return rig.driver.status(); }},
        {"char", [&] { return rig.driver.sendCharacter('E'); }},
        {"clear", [&] { return rig.driver.clearBuffer(); }},
        {"backspace", [&] { return rig.driver.backspace(); }},
        {"speed", [&] { return rig.driver.setSpeed(20); }},
        {"weight", [&] { return rig.driver.setWeight(50); }},
        {"lead/tail", [&] { return rig.driver.setLeadTail(1, 2); }},
        {"ratio", [&] { return rig.driver.setRatio(50); }},
        {"pins", [&] { return rig.driver.setPinConfig(6); }},
        {"mode", [&] { return rig.driver.setMode(16); }},
        {"close", [&] { return rig.driver.close(); }},
    };
    for (const auto& [what, op] : ops)
        EXPECT_EQ(op(), WinKeyDriver::kNotOpen) << what;
    EXPECT_TRUE(rig.line.written.isEmpty());
}

TEST(WinKeyDriver, SettingsGoOutAsGivenAndTheModeKeepsEchoBack)
{
    Rig rig;
    rig.open();
    EXPECT_EQ(rig.driver.setSpeed(99), 0);
    EXPECT_EQ(rig.driver.setWeight(0), 0);
    EXPECT_EQ(rig.driver.setLeadTail(255, 3), 0);
    EXPECT_EQ(rig.driver.setRatio(67), 0);
    EXPECT_EQ(rig.driver.setPinConfig(8), 0);
    EXPECT_EQ(rig.driver.setMode(32), 0);
    EXPECT_EQ(rig.line.written.toHex(' '),
              hex({0x02, 99, 0x03, 0, 0x04, 255, 3, 0x17, 67, 0x09, 8, 0x0E, 32 | 4}).toHex(' '));
}

TEST(WinKeyDriver, ControlCodesAndTheCommitMarkNeverReachTheKeyer)
{
    Rig rig;
    rig.open();
    for (uchar code : {uchar(0x18), uchar(0x19), uchar(0x0A), uchar(0x7F), uchar(0xC4), uchar('!')})
        EXPECT_EQ(rig.driver.sendCharacter(code), WinKeyDriver::kNotSendable) << int(code);
    rig.tick(5);
    EXPECT_TRUE(rig.line.written.isEmpty());
    EXPECT_EQ(rig.driver.status(), 0);
}

// The status: 1..4 from a hand-over until a "not busy" the keyer sent after it had the
// character; one already on its way at the hand-over does not end it.
TEST(WinKeyDriver, StatusStaysBusyUntilANotBusySentAfterTheHandOver)
{
    Rig rig;
    rig.open();
    ASSERT_EQ(rig.driver.sendCharacter('T'), 0);
    EXPECT_EQ(rig.line.written, "T") << "handed to the line at once";
    EXPECT_GE(rig.driver.status(), 1);
    EXPECT_LE(rig.driver.status(), 4);
    rig.answer(hex({kIdle}));  // from before: the keyer had not yet read "T"
    EXPECT_GE(rig.driver.status(), 1);
    rig.answer(QByteArray("T") + hex({kBusy}));
    EXPECT_GE(rig.driver.status(), 1);
    EXPECT_EQ(rig.endings, 0);
    rig.answer(hex({kIdle}));
    EXPECT_EQ(rig.driver.status(), 0);
    EXPECT_EQ(rig.endings, 1);
    EXPECT_EQ(rig.driver.echoed(), "T");
    // An Esc right after a hand-over still finds the keyer "busy", so it clears.
    ASSERT_EQ(rig.driver.sendCharacter('E'), 0);
    rig.answer(hex({kIdle}));
    EXPECT_GT(rig.driver.status(), 0);
}

TEST(WinKeyDriver, HandsOverAsTheLineDrainsAndAtMostFourAheadOfTheEchoes)
{
    Rig rig;
    rig.open();
    for (char c : QByteArray("CQCQTESTDEAB"))
        ASSERT_EQ(rig.driver.sendCharacter(uchar(c)), 0) << c;
    EXPECT_EQ(rig.line.written, "CQCQ");
    EXPECT_EQ(rig.driver.status(), WinKeyDriver::kStatusWait) << "the driver's queue is full";
    EXPECT_EQ(rig.driver.sendCharacter('X'), WinKeyDriver::kQueueFull);
    rig.answer(QByteArray("CQ"));
    EXPECT_EQ(rig.line.written, "CQCQTE");
    // A line still busy with earlier bytes gets nothing more until it drains.
    rig.line.queued = 10;
    rig.answer(QByteArray("CQ"));
    EXPECT_EQ(rig.line.written, "CQCQTE");
    rig.line.queued = 0;
    rig.tick();
    EXPECT_EQ(rig.line.written, "CQCQTEST");
    EXPECT_EQ(rig.driver.unsent(), 8);
}

TEST(WinKeyDriver, XoffHoldsTheNextCharacterAndTheStatusAtFive)
{
    Rig rig;
    rig.open();
    rig.driver.sendCharacter('A');
    rig.answer(QByteArray("A") + hex({kXoffBusy}));
    EXPECT_GE(rig.driver.status(), WinKeyDriver::kStatusWait);
    rig.driver.sendCharacter('B');
    rig.tick(3);
    EXPECT_EQ(rig.line.written, "A");
    rig.answer(hex({kBusy}));
    EXPECT_LT(rig.driver.status(), WinKeyDriver::kStatusWait);
    EXPECT_EQ(rig.line.written, "AB");
}

// A keyer holding XOFF reports nothing new; silence proves nothing, an unanswered request does.
TEST(WinKeyDriver, LongXoffIsCheckedWithAStatusRequestAndAnUnansweredOneCloses)
{
    Rig rig;
    rig.open();
    rig.driver.sendCharacter('A');
    rig.answer(QByteArray("A") + hex({kXoffBusy}));
    const qint64 xoffAt = rig.clock.ticksMs();
    ASSERT_TRUE(rig.tickUntilWritten(WinKeyCodec::requestStatus(), 1000));
    EXPECT_GE(rig.clock.ticksMs() - xoffAt, 5000);
    EXPECT_LE(rig.clock.ticksMs() - xoffAt, 5100);
    rig.answer(hex({kXoffBusy}));  // still there, still full
    rig.tick(100);
    EXPECT_TRUE(rig.driver.isOpen());
    EXPECT_EQ(rig.line.written.count(char(WinKeyCodec::kRequestStatus)), 1);
    rig.line.written.clear();
    ASSERT_TRUE(rig.tickUntilWritten(WinKeyCodec::requestStatus(), 1000));
    rig.line.written.clear();
    rig.tick(55);  // no answer this time
    EXPECT_FALSE(rig.driver.isOpen());
    ASSERT_EQ(rig.closedReasons.size(), 1);
    EXPECT_TRUE(rig.closedReasons[0].contains("stopped answering")) << rig.closedReasons[0].toStdString();
    EXPECT_EQ(rig.line.written, WinKeyCodec::farewell());
    EXPECT_EQ(rig.driver.status(), WinKeyDriver::kNotOpen);
    rig.tick(40);
    EXPECT_FALSE(rig.line.isOpen());
}

// A character the keyer ignores raises neither BUSY nor an echo: without a question the program
// would stay "busy" for ever.
TEST(WinKeyDriver, MissingBusyIsAskedAboutAndANotBusyAnswerEndsTheWait)
{
    Rig rig;
    rig.open();
    rig.driver.sendCharacter('~');
    const qint64 sentAt = rig.clock.ticksMs();
    ASSERT_TRUE(rig.tickUntilWritten(WinKeyCodec::requestStatus(), 100));
    EXPECT_GE(rig.clock.ticksMs() - sentAt, 500);
    EXPECT_GT(rig.driver.status(), 0);
    rig.answer(hex({kIdle}));
    EXPECT_EQ(rig.driver.status(), 0);
    EXPECT_EQ(rig.endings, 1);

    // Unanswered: the keyer has gone.
    rig.driver.sendCharacter('~');
    ASSERT_TRUE(rig.tickUntilWritten(WinKeyCodec::requestStatus(), 100));
    rig.tick(60);
    EXPECT_FALSE(rig.driver.isOpen());
    EXPECT_EQ(rig.closedReasons.size(), 1);
}

// Taken back before the keyer started it: nothing will ever report its end.
TEST(WinKeyDriver, ACharacterTakenBackUnsentIsAskedAboutSoon)
{
    Rig rig;
    rig.open();
    rig.driver.sendCharacter('A');
    rig.driver.backspace();
    EXPECT_GT(rig.driver.status(), 0);
    ASSERT_TRUE(rig.tickUntilWritten(WinKeyCodec::requestStatus(), 60));
    rig.answer(hex({kIdle}));
    EXPECT_EQ(rig.driver.status(), 0);
}

TEST(WinKeyDriver, NoQuestionWhileTheKeyerIsHeardSending)
{
    Rig rig;
    rig.open();
    rig.driver.sendCharacter('T');
    rig.answer(QByteArray("T") + hex({kBusy}));
    rig.tick(200);  // 2 s of one long character
    EXPECT_FALSE(rig.line.written.contains(char(WinKeyCodec::kRequestStatus)));
    rig.answer(hex({kIdle}));
    EXPECT_EQ(rig.driver.status(), 0);
}

TEST(WinKeyDriver, ClearAndBackspace)
{
    Rig rig;
    rig.open();
    for (char c : QByteArray("ABCDEF"))
        rig.driver.sendCharacter(uchar(c));
    EXPECT_EQ(rig.line.written, "ABCD");
    // The last character still in the driver goes without a word to the keyer.
    EXPECT_EQ(rig.driver.backspace(), 0);
    EXPECT_EQ(rig.driver.backspace(), 0);
    EXPECT_EQ(rig.line.written, "ABCD");
    EXPECT_EQ(rig.driver.unsent(), 4);
    // Then the keyer's own.
    EXPECT_EQ(rig.driver.backspace(), 0);
    EXPECT_EQ(rig.line.written, QByteArray("ABCD") + WinKeyCodec::backspace());
    rig.answer("ABC");  // D was never sent: only the echoes of A..C come
    rig.tick(5);
    EXPECT_EQ(rig.line.written, QByteArray("ABCD") + WinKeyCodec::backspace()) << "E and F are gone";
    for (char c : QByteArray("XYZ"))
        rig.driver.sendCharacter(uchar(c));
    EXPECT_EQ(rig.driver.clearBuffer(), 0);
    EXPECT_TRUE(rig.line.written.endsWith(WinKeyCodec::clearBuffer()));
    EXPECT_EQ(rig.driver.status(), 0) << "Esc leaves nothing to wait for";
    EXPECT_EQ(rig.driver.unsent(), 0);
}

TEST(WinKeyDriver, CloseSaysGoodbyeAndReleasesThePortOnceTheBytesAreOut)
{
    Rig rig;
    rig.open();
    rig.driver.sendCharacter('A');
    rig.line.queued = 5;
    EXPECT_EQ(rig.driver.close(), 0);
    EXPECT_EQ(rig.line.written, QByteArray("A") + WinKeyCodec::farewell());
    EXPECT_TRUE(rig.line.farewell.isEmpty()) << "said once";
    EXPECT_FALSE(rig.driver.isOpen());
    EXPECT_EQ(rig.driver.status(), WinKeyDriver::kNotOpen);
    EXPECT_TRUE(rig.line.isOpen());
    rig.tick();
    EXPECT_TRUE(rig.line.isOpen());
    rig.line.queued = 0;
    rig.tick();
    EXPECT_FALSE(rig.line.isOpen());
    EXPECT_FALSE(rig.timer.isActive());
    EXPECT_EQ(rig.closedReasons.size(), 0);

    // Unload: the port closes before the call returns.
    Rig other;
    other.open();
    other.driver.closeNow();
    EXPECT_EQ(other.line.written, WinKeyCodec::farewell());
    EXPECT_FALSE(other.line.isOpen());
}

TEST(WinKeyDriver, CloseWhileOpeningEndsTheOpen)
{
    Rig rig;
    rig.startOpen();
    rig.tick(3);
    EXPECT_EQ(rig.driver.close(), 0);
    EXPECT_EQ(rig.result, WinKeyDriver::kNotOpen);
    EXPECT_FALSE(rig.line.isOpen());
    EXPECT_FALSE(rig.timer.isActive());
}

TEST(WinKeyDriver, AFailedLineClosesTheKeyerAndSaysWhy)
{
    Rig rig;
    rig.open();
    rig.driver.sendCharacter('A');
    rig.line.lost = true;
    rig.line.error = QStringLiteral("Input/output error");
    rig.tick();
    EXPECT_FALSE(rig.driver.isOpen());
    EXPECT_FALSE(rig.line.isOpen());
    ASSERT_EQ(rig.closedReasons.size(), 1);
    EXPECT_TRUE(rig.closedReasons[0].contains("Input/output error"));
    EXPECT_EQ(rig.driver.status(), WinKeyDriver::kNotOpen);
    EXPECT_EQ(rig.driver.unsent(), 0) << "no text left queued";
}

// A wrong device flooding the port: every byte read is decoded and dropped as it comes.
TEST(WinKeyDriver, AFloodOfBytesLeavesNothingBehind)
{
    Rig rig;
    rig.open();
    for (int i = 0; i < 64; ++i) {
        rig.line.incoming = QByteArray(16 * 1024, char(0x41 + i % 26));
        rig.tick();
    }
    EXPECT_LE(rig.driver.echoed().size(), 1024);
    EXPECT_TRUE(rig.driver.isOpen());
    EXPECT_EQ(rig.driver.status(), 0);
}

}  // namespace
}  // namespace cubwave
