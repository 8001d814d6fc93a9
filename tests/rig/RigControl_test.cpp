#include "rig/RigControl.h"

#include "support/FakeClock.h"
#include "support/FakeKeying.h"
#include "support/FakeRigPollTimer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace cubwave::test {
namespace {

RigSettings settingsFor(const char* rig)
{
    RigSettings s;
    s.selectRig(*RigModels::find(QString::fromLatin1(rig)));
    return s;
}

class RigControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.onReports([this](float mhz) { frequencies.push_back(mhz); }, [this](const QString& m) { modes << m; });
    }

    FakeSerialLine line;
    FakeRigPollTimer timer;
    FakeClock clock;
    RigControl rig{line, timer, clock};
    std::vector<float> frequencies;
    QStringList modes;
};

// Only a frequency above 0 and a mode with text reach the session: a 0 would give the next
// contact ".000" and no band.
TEST_F(RigControlTest, PassesOnOnlyUsableReports)
{
    for (float mhz : {0.0f, -7.0f, std::numeric_limits<float>::quiet_NaN(), 14.025f, 0.1f})
        rig.reportFrequency(mhz);
    EXPECT_EQ(frequencies, (std::vector<float>{14.025f, 0.1f}));
    for (const char* mode : {"", "CW", "PH", ""})
        rig.reportMode(QString::fromLatin1(mode));
    EXPECT_EQ(modes, (QStringList{QStringLiteral("CW"), QStringLiteral("PH")}));
}

// A stored rig name starts the poll at start-up unless it is "None", whatever its case.
TEST_F(RigControlTest, StartupTestsEveryStoredRigButNone)
{
    QStringList tested;
    QString name;
    rig.setStartupTest([&] { tested << name; });
    for (const char* stored : {"None", "NONE", "none", "nOnE", "Kenwood", "", "None "}) {
        name = QString::fromLatin1(stored);
        rig.openAtStartup(name);
    }
    EXPECT_EQ(tested, (QStringList{QStringLiteral("Kenwood"), QString(), QStringLiteral("None ")}));
}

TEST_F(RigControlTest, StatusAndSaveRequestsGoToTheirSubscribers)
{
    QStringList seen;
    rig.reportStatus(QStringLiteral("before anyone listens"));
    rig.onStatus([&](const QString& text) { seen << QStringLiteral("status:") + text; });
    rig.onSavePreferences([&](const QString& name) { seen << QStringLiteral("save:") + name; });
    rig.reportStatus(QStringLiteral("Rig: No Response"));
    rig.reportSavePreferences(QStringLiteral("Yaesu 890"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("status:Rig: No Response"), QStringLiteral("save:Yaesu 890")}));
}

// Tuning needs a polled rig and something that tunes it.
TEST_F(RigControlTest, TunesOnlyWhilePolledAndWithATuner)
{
    std::vector<double> tuned;
    EXPECT_FALSE(rig.tuneTo(7.025));
    rig.setTuner([&](double mhz) {
        tuned.push_back(mhz);
        return true;
    });
    EXPECT_FALSE(rig.tuneTo(7.025));
    ASSERT_FALSE(rig.driver().start(settingsFor("Kenwood"), QStringLiteral("/dev/ttyUSB0"), false, {}));
    EXPECT_TRUE(rig.tuneTo(14.2));
    EXPECT_EQ(tuned, std::vector<double>{14.2});
}

// Unloading while a Yaesu is polled sends its closing bytes once, stops the timer and closes
// the line; a second unload sends nothing more.
TEST_F(RigControlTest, UnloadSendsTheClosingBytesOnceAndClosesTheLine)
{
    ASSERT_FALSE(rig.driver().start(settingsFor("Yaesu 890"), QStringLiteral("/dev/ttyUSB0"), false, {}));
    line.written.clear();
    rig.unload();
    rig.unload();
    EXPECT_EQ(line.written, QByteArray("\x00\x00\x00\x00\x80", 5));
    EXPECT_FALSE(line.isOpen());
    EXPECT_FALSE(timer.isActive());
    EXPECT_FALSE(rig.driver().polling());
}

}  // namespace
}  // namespace cubwave::test
