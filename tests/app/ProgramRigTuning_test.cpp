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

#include <QFile>
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

}  // namespace
}  // namespace cubwave::test
