// "Hamlib rigctld" against a scripted daemon on a loopback socket: the order of the commands,
// reports the daemon refuses, a mode the radio did not take, a stalled and a vanished daemon.
#include "RigctldFixture.h"
#include "support/FakeRigctld.h"

using namespace cubwave;
using namespace cubwave::test;

namespace {

using Answer = FakeRigctld::Answer;

QList<QByteArray> withoutPolls(const QList<QByteArray>& commands)
{
    QList<QByteArray> out;
    for (const QByteArray& c : commands) {
        if (c != "f" && c != "m")
            out.append(c);
    }
    return out;
}

}  // namespace

// The band plan's mode, read back, then the frequency; to another band the mode once more, as a
// radio may recall the band's old mode. Within the band it is not sent again.
TEST(RigctldCommands, ModeReadBackFrequencyAndModeAgainOnANewBand)
{
    FakeRigctld daemon(FakeRigctld::dummy);
    RigctldRig rig;
    rig.start(daemon.port());
    ASSERT_TRUE(rig.follows(7.025f, QStringLiteral("CW")));

    daemon.commands.clear();
    ASSERT_TRUE(rig.tune(14025000));
    EXPECT_EQ(daemon.commands.mid(daemon.commands.indexOf("M CW 0"), 4),
              (QList<QByteArray>{"M CW 0", "m", "F 14025000", "M CW 0"}));

    daemon.commands.clear();
    ASSERT_TRUE(rig.tune(7030000));  // the daemon still says 7.025: the same band
    EXPECT_EQ(withoutPolls(daemon.commands), (QList<QByteArray>{"M CW 0", "F 7030000"}));
    EXPECT_TRUE(rig.failures.isEmpty()) << rig.failures.join(u'\n').toStdString();
}

TEST(RigctldCommands, ARefusedFrequencyShowsHamlibsTextAndThePollGoesOn)
{
    FakeRigctld daemon([](const QByteArray& command) {
        return command.startsWith("F ") ? Answer{"RPRT -9\n"} : FakeRigctld::dummy(command);
    });
    RigctldRig rig;
    rig.start(daemon.port());
    ASSERT_TRUE(rig.follows(7.025f, QStringLiteral("CW")));
    ASSERT_TRUE(rig.tune(14025000));
    ASSERT_EQ(rig.failures.size(), 1);
    EXPECT_EQ(rig.failures[0],
              QStringLiteral("Error Changing Frequency|rigctld answered \"F 14025000\" with RPRT -9: Command rejected by the rig"));
    EXPECT_FALSE(rig.driver.poller().suspended());
    const int polls = int(daemon.commands.count("f"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return daemon.commands.count("f") > polls; }, 2000));
}

// rigctld answers "RPRT 0" to a mode the radio does not know; only reading it back tells.
TEST(RigctldCommands, AModeTheRadioDidNotTakeIsReported)
{
    FakeRigctld daemon([](const QByteArray& command) {
        return command == "m" ? Answer{"USB\n2400\n"} : FakeRigctld::dummy(command);
    });
    RigctldRig rig;
    rig.start(daemon.port());
    ASSERT_TRUE(rig.follows(7.025f, QStringLiteral("PH")));
    rig.runner.changeMode(0, QStringLiteral("CW"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.runner.busy(); }, 3000));
    ASSERT_EQ(rig.failures.size(), 1);
    EXPECT_EQ(rig.failures[0],
              QStringLiteral("Error Changing Mode|The radio did not take the mode CW (rigctld reads it as USB). CW"));
}

// A daemon that stops answering is given 2 s, then the connection goes and one status line
// says so; one that is killed likewise; both are found again when back, with no message box.
TEST(RigctldCommands, AStalledOrKilledDaemonIsToldOnceAndFoundAgain)
{
    bool stalled = false;
    FakeRigctld daemon([&stalled](const QByteArray& command) {
        return stalled ? Answer::silence() : FakeRigctld::dummy(command);
    });
    RigctldRig rig;
    rig.start(daemon.port());
    ASSERT_TRUE(rig.follows(7.025f, QStringLiteral("CW")));

    stalled = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.statuses.isEmpty(); }, 4000));
    EXPECT_TRUE(rig.statuses[0].contains(u"did not answer within 2 s")) << rig.statuses[0].toStdString();
    EXPECT_TRUE(rig.driver.polling());
    stalled = false;
    rig.lastFrequencyMHz = 0;
    ASSERT_TRUE(rig.follows(7.025f, QStringLiteral("CW"), 8000));
    EXPECT_EQ(rig.statuses.size(), 2);
    EXPECT_TRUE(rig.statuses.last().contains(u"answers again"));
    EXPECT_EQ(daemon.connections, 2);

    const int port = daemon.port();
    daemon.kill();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.statuses.size() == 3; }, 3000));
    EXPECT_TRUE(rig.statuses[2].contains(u"rigctld -m MODEL")) << rig.statuses[2].toStdString();
    QTest::qWait(5500);  // at least one refused retry: still one line
    EXPECT_EQ(rig.statuses.size(), 3);
    daemon.listenAgain(port);
    rig.lastFrequencyMHz = 0;
    ASSERT_TRUE(rig.follows(7.025f, QStringLiteral("CW"), 8000));
    EXPECT_TRUE(rig.statuses.last().contains(u"answers again"));
    EXPECT_TRUE(rig.failures.isEmpty());
}
