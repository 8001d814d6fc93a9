// The packet engine adapter against Debian's direwolf, a real engine: it decodes UI frames from
// audio and reports them as monitored frames, which the frame rules turn into spots.
#include "platform/QtOneShotTimer.h"
#include "platform/QtTcpClient.h"
#include "spots/AgwFramePoll.h"
#include "spots/AgwPacketEngine.h"
#include "support/AgwEngineSimulator.h"
#include "support/DirewolfPeer.h"
#include "support/Fakes.h"

#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

using namespace cubwave;
using namespace cubwave::test;

TEST(AgwDirewolf, DecodedUiFramesBecomeSpotsAndChat)
{
    QString why;
    if (!DirewolfPeer::available(&why))
        GTEST_SKIP() << why.toStdString();
    DirewolfPeer direwolf;
    ASSERT_TRUE(direwolf.start()) << direwolf.log().toStdString();
    EXPECT_TRUE(direwolf.listensOnLoopbackOnly()) << "the engine must not be reachable from the network";

    QtTcpClient socket;
    QtOneShotTimer timer;
    FakeSettingsStore settings;
    settings.values[AgwPacketEngine::kPortKey] = QString::number(direwolf.port());
    AgwPacketEngine engine(socket, timer, settings);
    std::optional<bool> started;
    QString problem;
    engine.setHandlers({[&](bool ok, const QString& p) {
                            started = ok;
                            problem = p;
                        },
                        {}});
    ASSERT_TRUE(engine.startPoll(QStringLiteral("w1aw")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.has_value(); }, 8000));
    ASSERT_TRUE(*started) << problem.toStdString() << "\n" << direwolf.log().toStdString();

    const QString spot1 = QStringLiteral("DX de W3LPL:     14025.0  K1ABC        cq                1200Z");
    const QString spot2 = QStringLiteral("DX de DL1AA:      7012.5  JA1XYZ       579 up 2          1201Z");
    direwolf.play(direwolf.audioFor({"W3LPL>DX:" + spot1, "N0CALL>ID:hello from the channel",
                                     "DL1AA>DX:" + spot2, "W3LPL>DX:" + spot1}));

    AgwFramePoll poll;
    QString shown;
    QStringList spots;
    const bool heard = QTest::qWaitFor(
        [&] {
            poll.tick(
                engine, false, [&](const QString& t) { return shown.contains(t, Qt::CaseInsensitive); },
                [&](const AgwFrameOutcome& o) {
                    shown += o.show;
                    if (!o.spotLine.isEmpty())
                        spots.append(o.spotLine);
                });
            return spots.size() >= 2 && shown.contains(QStringLiteral("hello from the channel"));
        },
        15000);
    ASSERT_TRUE(heard) << "shown: " << shown.toStdString() << "\n" << direwolf.log().toStdString();
    QTest::qWait(1500);  // the relayed copy of the first spot has had time to arrive
    poll.tick(
        engine, false, [&](const QString& t) { return shown.contains(t, Qt::CaseInsensitive); },
        [&](const AgwFrameOutcome& o) {
            shown += o.show;
            if (!o.spotLine.isEmpty())
                spots.append(o.spotLine);
        });
    ASSERT_EQ(spots.size(), 2) << "the relayed copy is a duplicate";
    EXPECT_EQ(spots[0], spot1 + "\r\n");
    EXPECT_EQ(spots[1], spot2 + "\r\n");
    EXPECT_FALSE(shown.contains(QStringLiteral("Fm W3LPL"))) << "monitor header lines are not shown";
    EXPECT_TRUE(engine.isStarted());
    engine.close();
}

namespace {

// The frames a peer answers the start's requests with: kind, calls, data.
std::vector<AgwFrame> answersTo(int port, const QByteArray& requests, int expected)
{
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, quint16(port));
    if (!s.waitForConnected(3000))
        return {};
    s.write(requests);
    AgwFrameDecoder decoder;
    std::vector<AgwFrame> frames;
    QTest::qWaitFor(
        [&] {
            s.waitForReadyRead(50);
            decoder.feed(s.readAll());
            while (std::optional<AgwFrame> f = decoder.next())
                frames.push_back(*f);
            return int(frames.size()) >= expected;
        },
        8000);
    return frames;
}

}  // namespace

// The simulator stands in for an engine in the connected-mode tests, so it must answer what the
// real one answers.
TEST(AgwDirewolf, TheSimulatorAnswersTheStartAsDirewolfDoes)
{
    QString why;
    if (!DirewolfPeer::available(&why))
        GTEST_SKIP() << why.toStdString();
    DirewolfPeer direwolf;
    ASSERT_TRUE(direwolf.start()) << direwolf.log().toStdString();
    AgwEngineSimulator sim;

    AgwFrame version;
    version.kind = 'R';
    AgwFrame registration;
    registration.kind = 'X';
    registration.callFrom = "W1AW";
    const QByteArray requests = version.encode() + registration.encode() + registration.encode();
    const std::vector<AgwFrame> real = answersTo(direwolf.port(), requests, 3);
    const std::vector<AgwFrame> simulated = answersTo(sim.port(), requests, 3);
    ASSERT_EQ(real.size(), 3u) << direwolf.log().toStdString();
    ASSERT_EQ(simulated.size(), 3u);
    for (size_t i = 0; i < real.size(); ++i) {
        EXPECT_EQ(simulated[i].kind, real[i].kind) << i;
        EXPECT_EQ(simulated[i].callFrom, real[i].callFrom) << i;
        EXPECT_EQ(simulated[i].data.size(), real[i].data.size()) << i;
    }
    EXPECT_EQ(real[1].data, QByteArray(1, '\1')) << "the first registration succeeds";
    EXPECT_EQ(simulated[1].data, real[1].data);
    EXPECT_EQ(simulated[2].data, real[2].data) << "a second registration of the same call";
}
