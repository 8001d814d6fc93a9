// The packet engine adapter against Debian's direwolf, a real engine: it decodes UI frames from
// audio and reports them as monitored frames, which the frame rules turn into spots.
#include "platform/QtOneShotTimer.h"
#include "platform/QtTcpClient.h"
#include "spots/AgwFramePoll.h"
#include "spots/AgwPacketEngine.h"
#include "support/DirewolfPeer.h"
#include "support/Fakes.h"

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
