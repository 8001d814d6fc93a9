// The packet engine adapter over a real loopback socket against the simulated engine: the start,
// connected mode (connect, data both ways, disconnect), a failed connect, a refused call, a
// silent engine, a lost engine and the farewell on close.
#include "platform/QtTcpClient.h"
#include "spots/AgwFramePoll.h"
#include "spots/AgwPacketEngine.h"
#include "support/AgwEngineSimulator.h"
#include "support/FakeClock.h"
#include "support/FakeOneShotTimer.h"
#include "support/Fakes.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace cubwave;
using namespace cubwave::test;

namespace {

const QByteArray kSpot = "DX de W3LPL:     14025.0  K1ABC        cq                1200Z";

class AgwEngineAgainstSimulator : public ::testing::Test {
protected:
    AgwEngineAgainstSimulator()
    {
        settings.values[AgwPacketEngine::kPortKey] = QString::number(sim.port());
        sim.stationsOnAir = {QStringLiteral("K1ABC")};
        engine.setHandlers({[this](bool ok, const QString& problem) { starts.push_back({ok, problem}); },
                            [this](const QString& problem) { losses.push_back(problem); }});
    }

    bool start(const QString& call = QStringLiteral("W1AW"))
    {
        engine.startPoll(call);
        return QTest::qWaitFor([this] { return !starts.empty(); }, 5000) && starts.back().first;
    }
    // Ticks of the window's timer until the wanted text has been shown (or 5 s passed).
    bool pollUntilShown(const QString& wanted)
    {
        return QTest::qWaitFor(
            [&] {
                poll.tick(
                    engine, listDxOnly, [this](const QString& t) { return shown.contains(t, Qt::CaseInsensitive); },
                    [this](const AgwFrameOutcome& o) {
                        shown += o.show;
                        if (!o.spotLine.isEmpty())
                            spots.append(o.spotLine);
                        if (o.event != AgwFrameOutcome::Event::None)
                            events.push_back(o.event);
                    });
                return shown.contains(wanted);
            },
            5000);
    }

    AgwEngineSimulator sim;
    QtTcpClient socket;
    FakeOneShotTimer timer;
    FakeClock clock;
    FakeSettingsStore settings;
    AgwPacketEngine engine{socket, timer, settings};
    AgwFramePoll poll;
    bool listDxOnly = false;
    QString shown;
    QStringList spots;
    std::vector<AgwFrameOutcome::Event> events;
    std::vector<std::pair<bool, QString>> starts;
    std::vector<QString> losses;
};

}  // namespace

TEST_F(AgwEngineAgainstSimulator, MonitorsSpotsThenConnectsTalksAndDisconnects)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(sim.registeredCall, "W1AW");
    EXPECT_TRUE(sim.monitoring);
    EXPECT_EQ(sim.framesOfKind('m').size(), 1);

    sim.monitorUnproto(QStringLiteral("W3LPL"), QStringLiteral("DX"), kSpot);
    ASSERT_TRUE(pollUntilShown(QString::fromLatin1(kSpot)));
    EXPECT_EQ(spots, QStringList{QString::fromLatin1(kSpot + "\r\n")});

    // ":C k1abc" sends 'c' then 'P'; only the connect reaches the engine.
    engine.putData(QStringLiteral("k1abc"), {}, 'c');
    engine.putData(QStringLiteral("k1abc"), {}, 'P');
    ASSERT_TRUE(pollUntilShown(QStringLiteral("*** CONNECTED With Station K1ABC")));
    EXPECT_EQ(poll.connectedStation(), "K1ABC");
    EXPECT_EQ(sim.framesOfKind('P').size(), 0);

    // The station relays the same spot's successor; the engine's monitor copy comes first and
    // must not make it a duplicate.
    const QByteArray next = "DX de W3LPL:     21025.0  JA1XYZ       up 1              1201Z";
    sim.stationSends(QStringLiteral("K1ABC"), next + "\r");
    ASSERT_TRUE(pollUntilShown(QString::fromLatin1(next)));
    EXPECT_EQ(spots.size(), 2);
    EXPECT_TRUE(spots.last().startsWith(QString::fromLatin1(next)));
    EXPECT_FALSE(shown.contains("Fm K1ABC")) << "no monitor copy of the own link is shown";

    engine.putData(QStringLiteral("K1ABC"), QStringLiteral("sh/dx\r"), 'D');
    ASSERT_TRUE(QTest::qWaitFor([this] { return !sim.dataAtStation.isEmpty(); }, 5000));
    EXPECT_EQ(sim.dataAtStation.first(), "sh/dx\r");
    EXPECT_EQ(sim.framesOfKind('D').first().pid, 0xF0);

    engine.putData(QStringLiteral("K1ABC"), {}, 'd');
    ASSERT_TRUE(pollUntilShown(QStringLiteral("*** DISCONNECTED From Station K1ABC")));
    EXPECT_TRUE(poll.connectedStation().isEmpty());
    EXPECT_EQ(events, (std::vector{AgwFrameOutcome::Event::Connected, AgwFrameOutcome::Event::Disconnected}));
}

TEST_F(AgwEngineAgainstSimulator, AConnectNobodyAnswersIsReportedEvenWithListDxOnly)
{
    ASSERT_TRUE(start());
    listDxOnly = true;
    engine.putData(QStringLiteral("N0BODY"), {}, 'c');
    ASSERT_TRUE(pollUntilShown(QStringLiteral("*** DISCONNECTED RETRYOUT With N0BODY")));
    EXPECT_TRUE(poll.connectedStation().isEmpty());
    EXPECT_TRUE(events.empty());
}

TEST_F(AgwEngineAgainstSimulator, ACallInUseOrASilentEngineFailsTheStart)
{
    sim.callsInUse = {QStringLiteral("W1AW")};
    EXPECT_FALSE(start());
    EXPECT_TRUE(starts.back().second.contains("W1AW"));
    EXPECT_TRUE(starts.back().second.contains("another program"));

    sim.callsInUse.clear();
    sim.answersVersion = false;
    starts.clear();
    engine.startPoll(QStringLiteral("W1AW"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return sim.framesOfKind('X').size() == 2; }, 5000));
    QTest::qWait(50);
    EXPECT_TRUE(starts.empty()) << "registered, but the version is still unanswered";
    timer.fire(clock);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_FALSE(starts[0].first);
    EXPECT_FALSE(engine.isStarting());
}

TEST_F(AgwEngineAgainstSimulator, NoEngineListeningFailsTheStart)
{
    sim.kill();
    EXPECT_FALSE(start());
    EXPECT_FALSE(starts.back().second.isEmpty());
}

TEST_F(AgwEngineAgainstSimulator, AnEngineThatGoesAwayIsReportedLost)
{
    ASSERT_TRUE(start());
    sim.kill();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !losses.empty(); }, 5000));
    EXPECT_EQ(losses.size(), 1u);
    EXPECT_FALSE(engine.isStarted());
}

TEST_F(AgwEngineAgainstSimulator, ADisconnectSentJustBeforeCloseReachesTheEngine)
{
    ASSERT_TRUE(start());
    engine.putData(QStringLiteral("K1ABC"), {}, 'c');
    ASSERT_TRUE(pollUntilShown(QStringLiteral("CONNECTED With Station K1ABC")));
    // Monitor traffic keeps arriving unread, which would make a plain close reset the link.
    for (int i = 0; i < 50; ++i)
        sim.monitorUnproto(QStringLiteral("N0CALL"), QStringLiteral("ID"), QByteArray(200, 'x'));
    QTest::qWait(50);
    engine.putData(QStringLiteral("K1ABC"), {}, 'd');
    engine.close();
    EXPECT_FALSE(engine.isStarted());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !sim.framesOfKind('d').isEmpty(); }, 5000));
    EXPECT_EQ(sim.framesOfKind('d').first().callTo, "K1ABC");
    EXPECT_TRUE(sim.linkedStations.isEmpty());
}
