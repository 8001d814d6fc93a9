#include "spots/AgwFramePoll.h"
#include "spots/AgwPacketEngine.h"
#include "support/AgwEngineSimulator.h"
#include "support/FakeClock.h"
#include "support/FakeOneShotTimer.h"
#include "support/FakeTcpClient.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace cubwave;
using namespace cubwave::test;

namespace {

// The engine over a fake socket the test plays the packet engine on.
class AgwEngineOnFakes : public ::testing::Test {
protected:
    AgwEngineOnFakes()
    {
        engine.setHandlers({[this](bool ok, const QString& problem) { starts.push_back({ok, problem}); },
                            [this](const QString& problem) { losses.push_back(problem); }});
    }

    // The engine's side of a frame, laid out by the simulator's own code.
    void engineSends(char kind, const QString& from, const QString& to, const QByteArray& data = {}, int port = 0)
    {
        socket.answer(AgwEngineSimulator::frameBytes(port, kind, 0, from, to, data));
    }
    std::vector<AgwFrame> sentFrames()
    {
        AgwFrameDecoder decoder;
        decoder.feed(socket.takeSent());
        std::vector<AgwFrame> frames;
        while (std::optional<AgwFrame> f = decoder.next())
            frames.push_back(*f);
        return frames;
    }
    QString kinds(const std::vector<AgwFrame>& frames)
    {
        QString k;
        for (const AgwFrame& f : frames)
            k += QChar(f.kind);
        return k;
    }
    void startWell(const QString& call = QStringLiteral("W1AW"))
    {
        ASSERT_TRUE(engine.startPoll(call));
        socket.accept();
        socket.takeSent();
        engineSends('R', {}, {}, QByteArray::fromHex("d50700007f000000"));
        engineSends('X', call, {}, QByteArray(1, '\1'));
        ASSERT_TRUE(engine.isStarted());
    }
    std::vector<AgwPacketEngine::Received> takeAll()
    {
        std::vector<AgwPacketEngine::Received> all;
        while (std::optional<AgwPacketEngine::Received> r = engine.getData())
            all.push_back(*r);
        return all;
    }

    FakeTcpClient socket;
    FakeOneShotTimer timer;
    FakeClock clock;
    FakeSettingsStore settings;
    AgwPacketEngine engine{socket, timer, settings};
    std::vector<std::pair<bool, QString>> starts;
    std::vector<QString> losses;
};

}  // namespace

TEST_F(AgwEngineOnFakes, StartAsksVersionRegistersTheCallAndTurnsMonitoringOnOnce)
{
    ASSERT_TRUE(engine.startPoll(QStringLiteral(" w1aw ")));
    EXPECT_EQ(socket.host, "127.0.0.1");
    EXPECT_EQ(socket.port, 8000);
    EXPECT_TRUE(engine.isStarting());
    EXPECT_EQ(timer.intervalMs, AgwPacketEngine::kAnswerLimitMs);
    socket.accept();
    const std::vector<AgwFrame> sent = sentFrames();
    EXPECT_EQ(kinds(sent), "RXm");
    EXPECT_EQ(sent[1].callFrom, "W1AW");

    engineSends('R', {}, {}, QByteArray::fromHex("d50700007f000000"));
    EXPECT_TRUE(starts.empty()) << "the call is not registered yet";
    engineSends('X', "W1AW", {}, QByteArray(1, '\1'));
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_TRUE(starts[0].first);
    EXPECT_TRUE(engine.isStarted());
    EXPECT_FALSE(timer.isActive());
    EXPECT_TRUE(takeAll().empty()) << "answers to the engine's own requests stay inside";
    EXPECT_EQ(kinds(sentFrames()), "") << "monitoring is toggled once per connection";
}

TEST_F(AgwEngineOnFakes, TheAddressAndRadioPortComeFromTheSettingsStore)
{
    settings.values[AgwPacketEngine::kHostKey] = QStringLiteral("192.0.2.7");
    settings.values[AgwPacketEngine::kPortKey] = QStringLiteral("8010");
    settings.values[AgwPacketEngine::kRadioPortKey] = QStringLiteral("2");
    startWell();
    EXPECT_EQ(socket.host, "192.0.2.7");
    EXPECT_EQ(socket.port, 8010);
    engine.putData(QStringLiteral("k1abc"), {}, 'c');
    const std::vector<AgwFrame> sent = sentFrames();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].port, 2);
}

TEST_F(AgwEngineOnFakes, AStartThatCannotSucceedSaysWhy)
{
    // The call is refused before any connection.
    EXPECT_FALSE(engine.startPoll(QStringLiteral("   ")));
    EXPECT_FALSE(engine.startPoll(QStringLiteral("VE3ABCDEFG")));
    EXPECT_TRUE(engine.problem().contains("VE3ABCDEFG"));
    EXPECT_EQ(socket.connects, 0);
    EXPECT_TRUE(starts.empty());
    EXPECT_TRUE(engine.startPoll(QStringLiteral("VE3ABCDEF")));  // nine fit

    // Registration refused: the call is in use.
    startWell();
    engine.close();
    starts.clear();
    ASSERT_TRUE(engine.startPoll(QStringLiteral("W1AW")));
    socket.accept();
    engineSends('R', {}, {}, QByteArray(8, '\0'));
    engineSends('X', "W1AW", {}, QByteArray(1, '\0'));
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_FALSE(starts[0].first);
    EXPECT_TRUE(starts[0].second.contains("W1AW"));
    EXPECT_TRUE(starts[0].second.contains("in use") || starts[0].second.contains("using"));
    EXPECT_FALSE(engine.isStarted());
    EXPECT_EQ(socket.state(), TcpClient::kClosed);

    // No answer within the limit.
    starts.clear();
    ASSERT_TRUE(engine.startPoll(QStringLiteral("W1AW")));
    socket.accept();
    timer.fire(clock);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_FALSE(starts[0].first);
    EXPECT_TRUE(starts[0].second.contains("5 seconds"));

    // The engine is not there.
    starts.clear();
    ASSERT_TRUE(engine.startPoll(QStringLiteral("W1AW")));
    socket.fail(TcpClient::kRefused, QStringLiteral("Connection refused"));
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_FALSE(starts[0].first);
    EXPECT_EQ(starts[0].second, "Connection refused");
    EXPECT_FALSE(timer.isActive());
}

TEST_F(AgwEngineOnFakes, CloseCancelsAStartWithoutAReport)
{
    ASSERT_TRUE(engine.startPoll(QStringLiteral("W1AW")));
    socket.accept();
    engine.close();
    EXPECT_FALSE(timer.isActive());
    EXPECT_FALSE(engine.isStarting());
    engineSends('R', {}, {}, QByteArray(8, '\0'));
    engineSends('X', "W1AW", {}, QByteArray(1, '\1'));
    EXPECT_TRUE(starts.empty());
    EXPECT_FALSE(engine.isStarted());
}

TEST_F(AgwEngineOnFakes, PutDataSendsConnectDisconnectAndTextFramesOnly)
{
    engine.putData(QStringLiteral("K1ABC"), QStringLiteral("early"), 'D');
    EXPECT_TRUE(socket.takeSent().isEmpty()) << "nothing goes out before the start";
    startWell();
    engine.putData(QStringLiteral("k1abc"), {}, 'c');
    engine.putData(QStringLiteral("k1abc"), {}, 'P');
    engine.putData(QStringLiteral("K1ABC"), QString::fromLatin1("73 de W1AW \xe9\r"), 'D');
    engine.putData(QStringLiteral("K1ABC"), {}, 'd');
    engine.putData(QStringLiteral("K1ABC"), {}, 'x');
    const std::vector<AgwFrame> sent = sentFrames();
    ASSERT_EQ(kinds(sent), "CDd");
    for (const AgwFrame& f : sent) {
        EXPECT_EQ(f.callFrom, "W1AW");
        EXPECT_EQ(f.callTo, "K1ABC");
        EXPECT_EQ(f.port, 0);
    }
    EXPECT_EQ(sent[1].pid, 0xF0);
    EXPECT_EQ(sent[1].data, "73 de W1AW \xe9\r");
    EXPECT_TRUE(sent[0].data.isEmpty());
}

TEST_F(AgwEngineOnFakes, GetDataGivesTheWindowsFramesAsTheWindowReadsThem)
{
    startWell();
    engineSends('C', "K1ABC", "W1AW", "*** CONNECTED With Station K1ABC\r");
    engineSends('G', {}, {}, "1;Port1 radio;");
    engineSends('D', "K1ABC", "W1AW", QByteArray("hello\r\0", 7));
    engineSends('y', {}, {}, QByteArray(4, '\0'));
    engineSends('U', "N0CALL", "ID", QByteArray(5000, 'x'));
    engineSends('Q', "N0CALL", "ID", "unknown kind");
    engineSends('d', "K1ABC", "W1AW", "*** DISCONNECTED From Station K1ABC\r");
    const std::vector<AgwPacketEngine::Received> got = takeAll();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].kind, 'c');
    EXPECT_EQ(got[0].call, "K1ABC");
    EXPECT_EQ(got[1].kind, 'D');
    EXPECT_EQ(got[1].data, "hello\r") << "the closing NUL goes";
    EXPECT_EQ(got[2].kind, 'U');
    EXPECT_EQ(got[2].data.size(), AgwPacketEngine::kMaxDataChars);
    EXPECT_EQ(got[3].kind, 'd');
}

TEST_F(AgwEngineOnFakes, AFullQueueDropsTheOldestAndCountsThem)
{
    startWell();
    QByteArray burst;
    for (int i = 0; i < AgwPacketEngine::kMaxQueuedFrames + 5; ++i)
        burst += AgwEngineSimulator::frameBytes(0, 'U', 0xF0, "N0CALL", "ID", QByteArray::number(i));
    socket.answer(burst);
    EXPECT_EQ(engine.queuedFrames(), AgwPacketEngine::kMaxQueuedFrames);
    EXPECT_EQ(engine.droppedFrames(), 5);
    EXPECT_EQ(engine.getData()->data, "5");
}

TEST_F(AgwEngineOnFakes, MonitorCopiesOfTheOwnLinkAreDropped)
{
    startWell();
    engine.putData(QStringLiteral("K1ABC"), {}, 'c');
    engineSends('T', "W1AW", "K1ABC", " 1:Fm W1AW To K1ABC <SABM P>[12:00:00]\r");
    engineSends('C', "K1ABC", "W1AW", "*** CONNECTED With Station K1ABC\r");
    engineSends('I', "K1ABC", "W1AW", " 1:Fm K1ABC To W1AW <I C S0 R0 pid=F0 Len=8 >[12:00:01]\rDX de x\r");
    engineSends('S', "k1abc", "w1aw", " 1:Fm K1ABC To W1AW <RR F R1>[12:00:01]\r");
    engineSends('D', "K1ABC", "W1AW", "DX de x\r");
    engineSends('I', "N0CALL", "N1CALL", " 1:Fm N0CALL To N1CALL <I C S0 R0 pid=F0 Len=2 >[12:00:02]\rhi\r");
    engineSends('d', "K1ABC", "W1AW", "*** DISCONNECTED From Station K1ABC\r");
    engineSends('I', "K1ABC", "W1AW", " 1:Fm K1ABC To W1AW <I C S0 R0 pid=F0 Len=2 >[12:00:03]\rhi\r");
    QString got;
    for (const AgwPacketEngine::Received& r : takeAll())
        got += QChar(r.kind);
    EXPECT_EQ(got, "cDIdI") << "copies between W1AW and K1ABC go while the link lasts; others stay";
}

TEST_F(AgwEngineOnFakes, ALostEngineOrABrokenStreamIsReportedOnce)
{
    startWell();
    engineSends('U', "N0CALL", "ID", "before\r");
    socket.fail(TcpClient::kConnectionReset);
    ASSERT_EQ(losses.size(), 1u);
    EXPECT_FALSE(engine.isStarted());
    EXPECT_EQ(engine.getData()->data, "before\r") << "what came before the loss is still shown";

    losses.clear();
    startWell();
    QByteArray huge = AgwEngineSimulator::frameBytes(0, 'U', 0, "A", "B", {});
    huge.replace(28, 4, QByteArray::fromHex("01000100"));  // 65,537 bytes announced
    socket.answer(huge + AgwEngineSimulator::frameBytes(0, 'U', 0, "A", "B", "after"));
    ASSERT_EQ(losses.size(), 1u);
    EXPECT_TRUE(losses[0].contains("65537"));
    EXPECT_EQ(socket.state(), TcpClient::kClosed);
    EXPECT_FALSE(engine.getData().has_value());
}

TEST_F(AgwEngineOnFakes, CloseLetsAFarewellGoOutAndWaitsOnlyWhenAsked)
{
    startWell();
    engine.putData(QStringLiteral("K1ABC"), {}, 'c');
    engineSends('C', "K1ABC", "W1AW", "*** CONNECTED With Station K1ABC\r");
    engine.putData(QStringLiteral("K1ABC"), {}, 'd');
    engine.close();
    EXPECT_EQ(socket.gentleCloses, 1);
    EXPECT_EQ(socket.lastCloseWaitMs, 0);
    EXPECT_EQ(kinds(sentFrames()), "Cd") << "one disconnect, not a second at the close";

    // A link nobody ended, and a call still under way, are ended by the close.
    startWell();
    engine.putData(QStringLiteral("K1ABC"), {}, 'c');
    engineSends('C', "K1ABC", "W1AW", "*** CONNECTED With Station K1ABC\r");
    engine.putData(QStringLiteral("N0CALL"), {}, 'c');
    socket.takeSent();
    engine.close();
    std::vector<AgwFrame> sent = sentFrames();
    ASSERT_EQ(kinds(sent), "dd");
    EXPECT_EQ((QSet<QByteArray>{sent[0].callTo, sent[1].callTo}), (QSet<QByteArray>{"K1ABC", "N0CALL"}));
    startWell();
    engine.close(1000);
    EXPECT_EQ(socket.lastCloseWaitMs, 1000);
    EXPECT_TRUE(losses.empty());
}

TEST_F(AgwEngineOnFakes, APollTickTakesAtMost200FramesAndFollowsTheConnection)
{
    startWell();
    QByteArray burst = AgwEngineSimulator::frameBytes(0, 'C', 0, "K1ABC", "W1AW", "*** CONNECTED With Station K1ABC\r");
    for (int i = 0; i < 448; ++i)
        burst += AgwEngineSimulator::frameBytes(0, 'D', 0xF0, "K1ABC", "W1AW", "line " + QByteArray::number(i) + "\r");
    burst += AgwEngineSimulator::frameBytes(0, 'd', 0, "K1ABC", "W1AW", "*** DISCONNECTED From Station K1ABC\r");
    socket.answer(burst);

    AgwFramePoll poll;
    QString shown;
    std::vector<AgwFrameOutcome::Event> events;
    const auto sink = [&](const AgwFrameOutcome& o) {
        shown += o.show;
        if (o.event != AgwFrameOutcome::Event::None)
            events.push_back(o.event);
    };
    const auto never = [](const QString&) { return false; };
    EXPECT_EQ(poll.tick(engine, false, never, sink), 200);
    EXPECT_EQ(poll.connectedStation(), "K1ABC");
    EXPECT_EQ(poll.tick(engine, false, never, sink), 200);
    EXPECT_EQ(poll.tick(engine, false, never, sink), 50);
    EXPECT_EQ(poll.tick(engine, false, never, sink), 0);
    EXPECT_TRUE(poll.connectedStation().isEmpty());
    EXPECT_EQ(events, (std::vector{AgwFrameOutcome::Event::Connected, AgwFrameOutcome::Event::Disconnected}));
    EXPECT_TRUE(shown.contains("line 0\r\nline 1\r\n"));
    EXPECT_TRUE(shown.contains("line 447\r\n"));
}

TEST_F(AgwEngineOnFakes, ASpotRepeatedWithinOneTickIsHandedOverOnce)
{
    startWell();
    const QByteArray spot = " 1:Fm W3LPL To DX <UI pid=F0 Len=40 >[12:00:00]\r"
                            "DX de W3LPL:     14025.0  K1ABC        cq\r";
    socket.answer(AgwEngineSimulator::frameBytes(0, 'U', 0xF0, "W3LPL", "DX", spot)
                  + AgwEngineSimulator::frameBytes(0, 'U', 0xF0, "W3LPL", "DX", spot));
    AgwFramePoll poll;
    QString received;
    int handed = 0;
    poll.tick(
        engine, false, [&](const QString& t) { return received.contains(t, Qt::CaseInsensitive); },
        [&](const AgwFrameOutcome& o) {
            received += o.show;
            handed += o.spotLine.isEmpty() ? 0 : 1;
        });
    EXPECT_EQ(handed, 1);
}
