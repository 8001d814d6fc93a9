// "Hamlib rigctld" against Debian's rigctld with Hamlib's dummy radio on a loopback port: the
// poll follows what rigctl sets, tuning moves the radio as rigctl reads it back, and the error
// texts are the ones rigctl lists.
#include "RigctldFixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

using namespace cubwave;
using namespace cubwave::test;

namespace {

// rigctld on 127.0.0.1 and a free port, ended by its own PID when the test is done.
class RealRigctld {
public:
    RealRigctld()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
        probe.close();
        process.start(QStringLiteral("rigctld"),
                      {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"), QStringLiteral("127.0.0.1"),
                       QStringLiteral("-t"), QString::number(port)});
        process.waitForStarted(5000);
        ready = QTest::qWaitFor(
            [this] {
                QTcpSocket s;
                s.connectToHost(QHostAddress::LocalHost, quint16(port));
                return s.waitForConnected(200);
            },
            5000);
    }
    ~RealRigctld()
    {
        process.kill();
        process.waitForFinished(3000);
    }
    // rigctl, Hamlib's own client, talking to this daemon: its output.
    QByteArray rigctl(const QStringList& commands) const
    {
        QProcess client;
        client.start(QStringLiteral("rigctl"),
                     QStringList{QStringLiteral("-m"), QStringLiteral("2"), QStringLiteral("-r"),
                                 QStringLiteral("127.0.0.1:%1").arg(port)}
                         + commands);
        client.waitForFinished(5000);
        return client.readAllStandardOutput();
    }

    int port = 0;
    QProcess process;
    bool ready = false;
};

bool haveHamlib()
{
    return !QStandardPaths::findExecutable(QStringLiteral("rigctld")).isEmpty()
           && !QStandardPaths::findExecutable(QStringLiteral("rigctl")).isEmpty();
}

}  // namespace

TEST(RigctldDaemon, ThePollFollowsTheRadioAndTuningMovesIt)
{
    if (!haveHamlib())
        GTEST_SKIP() << "rigctld and rigctl (libhamlib-utils) are not installed";
    RealRigctld daemon;
    ASSERT_TRUE(daemon.ready) << "rigctld did not listen";
    RigctldRig rig;
    rig.start(daemon.port);

    daemon.rigctl({QStringLiteral("F"), QStringLiteral("7025000"), QStringLiteral("M"), QStringLiteral("CW"),
                   QStringLiteral("0")});
    EXPECT_TRUE(rig.follows(7.025f, QStringLiteral("CW")));
    daemon.rigctl({QStringLiteral("F"), QStringLiteral("14250000"), QStringLiteral("M"), QStringLiteral("USB"),
                   QStringLiteral("0")});
    EXPECT_TRUE(rig.follows(14.25f, QStringLiteral("PH")));
    daemon.rigctl({QStringLiteral("M"), QStringLiteral("CWR"), QStringLiteral("0")});
    EXPECT_TRUE(rig.follows(14.25f, QStringLiteral("CW")));

    // The tune window's 14.025: the band plan's CW, then the frequency.
    ASSERT_TRUE(rig.tune(14025000));
    EXPECT_EQ(daemon.rigctl({QStringLiteral("f")}), "14025000\n");
    EXPECT_EQ(daemon.rigctl({QStringLiteral("m")}).split('\n').value(0), "CW");
    // 3.8 MHz is phone on 80 m: lower sideband.
    ASSERT_TRUE(rig.tune(3800000));
    EXPECT_EQ(daemon.rigctl({QStringLiteral("f")}), "3800000\n");
    EXPECT_EQ(daemon.rigctl({QStringLiteral("m")}).split('\n').value(0), "LSB");
    EXPECT_TRUE(rig.follows(3.8f, QStringLiteral("PH")));
    EXPECT_TRUE(rig.failures.isEmpty()) << rig.failures.join(u'\n').toStdString();
    EXPECT_TRUE(rig.statuses.isEmpty()) << rig.statuses.join(u'\n').toStdString();
}

TEST(RigctldDaemon, AKilledDaemonIsReportedAndFoundAgainWhenRestarted)
{
    if (!haveHamlib())
        GTEST_SKIP() << "rigctld and rigctl (libhamlib-utils) are not installed";
    auto daemon = std::make_unique<RealRigctld>();
    ASSERT_TRUE(daemon->ready);
    const int port = daemon->port;
    RigctldRig rig;
    rig.start(port);
    daemon->rigctl({QStringLiteral("F"), QStringLiteral("21025000")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.lastFrequencyMHz == 21.025f; }, 3000));

    daemon.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.statuses.isEmpty(); }, 4000));
    EXPECT_TRUE(rig.statuses[0].contains(u"Start it with: rigctld")) << rig.statuses[0].toStdString();
    EXPECT_TRUE(rig.driver.polling());

    // The same port again: the dummy radio starts afresh on 145 MHz.
    QProcess again;
    again.start(QStringLiteral("rigctld"), {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"),
                                            QStringLiteral("127.0.0.1"), QStringLiteral("-t"), QString::number(port)});
    ASSERT_TRUE(again.waitForStarted(5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.lastFrequencyMHz == 145.0f; }, 9000));
    EXPECT_TRUE(rig.statuses.last().contains(u"answers again")) << rig.statuses.last().toStdString();
    EXPECT_EQ(rig.statuses.size(), 2);
    rig.driver.stop();
    again.kill();
    again.waitForFinished(3000);
}

// The error texts the commands show are Hamlib's own, as rigctl --help lists them.
TEST(RigctldDaemon, ErrorTextsAreTheOnesRigctlLists)
{
    if (!haveHamlib())
        GTEST_SKIP() << "rigctl (libhamlib-utils) is not installed";
    QProcess help;
    help.start(QStringLiteral("rigctl"), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(5000));
    const QString text = QString::fromLatin1(help.readAllStandardOutput());
    const QRegularExpression row(QStringLiteral("^-(\\d+) - (.+)$"), QRegularExpression::MultilineOption);
    int rows = 0;
    for (auto it = row.globalMatch(text); it.hasNext(); ++rows) {
        const QRegularExpressionMatch m = it.next();
        EXPECT_EQ(RigctldValues::errorText(-m.captured(1).toInt()), m.captured(2).trimmed());
    }
    EXPECT_GE(rows, 20);
}
