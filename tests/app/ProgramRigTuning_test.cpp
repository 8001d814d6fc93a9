#include "app/ProgramPorts.h"
#include "core/SharedPrefsDocument.h"
#include "platform/SystemClock.h"
#include "rig/RigModel.h"
#include "rig/RigSettings.h"
#include "rig/RigSettingsFile.h"
#include "support/FakeDialogs.h"
#include "support/Fakes.h"
#include "support/RigSimulator.h"
#include "support/TestFiles.h"
#include "ui/rig/RigControlWindow.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace cubwave::test {
namespace {

// The program's own hook-up of the commands to the rig: a tune request through the rig port goes
// out on the polled radio's line, and the poll then reports the new frequency. Real timers and
// the system clock, as the program runs them; a simulated Kenwood on a pseudo-terminal.
TEST(ProgramRigTuning, ATuneRequestReachesThePolledRadioAndThePollFollowsIt)
{
    QTemporaryDir dir;
    RigSimulator sim(makeKenwoodRadio());
    ASSERT_TRUE(sim.isOpen());
    writeFile(dir.filePath(QStringLiteral("serialports.txt")),
              QStringLiteral("3=%1\n").arg(sim.devicePath()).toLocal8Bit());
    RigSettings settings;
    settings.selectRig(*RigModels::find(QStringLiteral("Kenwood")));
    settings.port = 3;
    ASSERT_TRUE(RigSettingsFile::write(dir.filePath(QString::fromLatin1(RigSettingsFile::kFileName)), settings).ok);
    ASSERT_TRUE(QFile::copy(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/BandPlan.txt"),
                            dir.filePath(QStringLiteral("BandPlan.txt"))));

    SystemClock clock;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    FakeSettingsStore store;
    SharedPrefsDocument shared;
    ProgramPorts program({dialogs, beeper, store, clock, shared, dir.path(), dir.filePath(QStringLiteral("d")),
                          dir.filePath(QStringLiteral("s"))});
    RigControlPort& rig = program.ports().rig;
    float reported = 0;
    rig.onReports([&reported](float mhz) { reported = mhz; }, [](const QString&) {});

    EXPECT_FALSE(rig.tuneTo(7.025));  // nothing is polled yet
    rig.openAtStartup(QStringLiteral("Kenwood"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return qAbs(reported - 14.025f) < 0.0005f; }, 5000)) << reported;

    EXPECT_TRUE(rig.tuneTo(7.025));
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim.frequencyHz() == 7025000; }, 5000)) << sim.frequencyHz();
    EXPECT_TRUE(QTest::qWaitFor([&] { return qAbs(reported - 7.025f) < 0.0005f; }, 5000)) << reported;
    EXPECT_TRUE(sim.unknownCommands().isEmpty()) << sim.unknownCommands().join(' ').toStdString();
    rig.unload();
}

// "End Test", another rig and unloading each stop a command under way: an Elecraft tuned to
// 7.010 has its mode command out and waits 1.2 s before the frequency; stopped then, nothing more
// of it goes out (not to the radio, not to the port a new rig opens) and no error box comes up.
class StoppingARigCommand : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.isOpen());
        writeFile(dir.filePath(QStringLiteral("serialports.txt")),
                  QStringLiteral("3=%1\n").arg(sim.devicePath()).toLocal8Bit());
        RigSettings settings;
        settings.selectRig(*RigModels::find(QStringLiteral("Elecraft")));
        settings.port = 3;
        ASSERT_TRUE(RigSettingsFile::write(dir.filePath(QString::fromLatin1(RigSettingsFile::kFileName)), settings).ok);
        ASSERT_TRUE(QFile::copy(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/BandPlan.txt"),
                                dir.filePath(QStringLiteral("BandPlan.txt"))));
    }

    QTemporaryDir dir;
    RigSimulator sim{makeKenwoodRadio()};
    SystemClock clock;
    FakeDialogs dialogs;
    FakeBeeper beeper;
    FakeSettingsStore store;
    SharedPrefsDocument shared;
};

TEST_P(StoppingARigCommand, DropsWhatIsLeftOfIt)
{
    const QString stop = QString::fromLatin1(GetParam());
    ProgramPorts program({dialogs, beeper, store, clock, shared, dir.path(), dir.filePath(QStringLiteral("d")),
                          dir.filePath(QStringLiteral("s"))});
    RigControlPort& rig = program.ports().rig;
    rig.openAtStartup(QStringLiteral("Elecraft"));
    ASSERT_TRUE(program.rig().control().driver().polling());
    ASSERT_TRUE(rig.tuneTo(7.010));
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.received().contains("MD3;"); }, 2000));
    const qsizetype modeAt = sim.received().indexOf("MD3;");

    RigControlWindow& window = program.rig().window();
    if (stop == QLatin1String("end test")) {
        window.Command2_Click();
    } else if (stop == QLatin1String("another rig")) {
        auto* list = window.findChild<QListWidget*>(QStringLiteral("List1"));
        list->setCurrentItem(list->findItems(QStringLiteral("Kenwood"), Qt::MatchExactly).front());
        window.Command1_Click();  // the new rig polls the same port
        ASSERT_TRUE(program.rig().control().driver().polling());
    } else {
        rig.unload();
    }
    QTest::qWait(1700);
    const QByteArray after = sim.received().mid(modeAt + 4);
    EXPECT_FALSE(after.contains("FA00007010000;")) << after.toStdString();
    EXPECT_FALSE(after.contains("MD3;")) << after.toStdString();
    EXPECT_EQ(sim.frequencyHz(), 14'025'000);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().title.toStdString();
    EXPECT_FALSE(program.rigCommands().commands().busy());
    rig.unload();
}

INSTANTIATE_TEST_SUITE_P(Stops, StoppingARigCommand, ::testing::Values("end test", "another rig", "unload"),
                         [](const auto& info) {
                             QString name = QString::fromLatin1(info.param);
                             return name.remove(u' ').toStdString();
                         });

}  // namespace
}  // namespace cubwave::test
