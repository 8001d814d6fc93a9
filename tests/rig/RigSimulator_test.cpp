// The poll against a simulated radio of each family on a pseudo-terminal, with replies paced
// at 4800 baud so they arrive in pieces; and each simulation checked by Hamlib's rigctl, an
// independent client, where Hamlib knows the model.
#include "rig/RigPoller.h"
#include "support/PtyRigLink.h"
#include "support/RigSimulator.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include <functional>
#include <thread>

using namespace cubwave;
using namespace cubwave::test;

namespace {

struct Radio {
    const char* name;
    const char16_t* model;  // the logger's rig list entry
    std::function<std::unique_ptr<SimulatedRadio>()> make;
    int hamlibModel;        // 0: Hamlib has no such model
    QStringList hamlibOptions;
    RadioMode usbMode = RadioMode::Usb;
};

void PrintTo(const Radio& r, std::ostream* os) { *os << r.name; }

const Radio kRadios[] = {
    {"Kenwood", u"Kenwood", makeKenwoodRadio, 2014, {}},
    {"Kenwood2", u"Kenwood 2", makeKenwoodRadio, 2014, {}},
    {"Elecraft", u"Elecraft", makeKenwoodRadio, 2021, {}},
    {"Icom", u"Icom", [] { return makeIcomRadio(0x64, 5); }, 3011, {"--civaddr=0x64"}},
    {"Icom735", u"Icom 735", [] { return makeIcomRadio(0x64, 4); }, 3019, {"--civaddr=0x64"}},
    {"OmniVi", u"Ten Tec Omni VI", [] { return makeIcomRadio(0x04, 5); }, 3051, {}},
    {"YaesuFiveByte", u"Yaesu", makeYaesuFiveByteRadio, 1020, {}},
    {"Yaesu757GxII", u"Yaesu 757 GX II", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft757GxII); }, 1007,
     {"--set-conf=ptt_type=None"}},  // Hamlib keys this radio by DTR, which a pty cannot carry
    {"Yaesu890", u"Yaesu 890", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft890); }, 1015, {}},
    {"Yaesu920", u"Yaesu 920", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft920); }, 1014, {}},
    {"Yaesu990", u"Yaesu 990", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft990); }, 1016, {}},
    {"Yaesu1000D", u"Yaesu 1000 D", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft1000D); }, 1003, {}},
    {"Yaesu1000", u"Yaesu 1000", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft1000MP); }, 1024, {}},
    {"FTdx9000", u"Yaesu FTdx9000", [] { return makeYaesuTextRadio(8); }, 1030, {}},
    {"YaesuTextNineDigits", u"Yaesu FTdx9000", [] { return makeYaesuTextRadio(9); }, 1035, {}},  // FT-991
    {"FrontPanel", u"Ten Tec Fnt Pnl", makeTenTecPanelRadio, 16002, {}},
    {"Orion", u"Ten Tec Orion", makeOrionRadio, 16008, {}},
};

class SimulatedRadios : public ::testing::TestWithParam<Radio> {
protected:
    struct Seen {
        float frequencyMHz = 0;
        QString mode;
    };

    // Polls at "100 ms" on the real clock until the wanted values are reported or 3 s pass.
    Seen pollUntil(RigPoller& poller, float wantMHz, const QString& wantMode)
    {
        Seen seen;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 3000 && !(seen.frequencyMHz == wantMHz && seen.mode == wantMode)) {
            const RigTickResult result = poller.tick(clock.elapsed());
            EXPECT_FALSE(result.lineLost) << qPrintable(*result.lineLost);
            if (result.bandReportMHz)
                seen.frequencyMHz = *result.bandReportMHz;
            if (result.modeReport)
                seen.mode = *result.modeReport;
            std::this_thread::sleep_for(std::chrono::milliseconds(poller.settings().intervalMs));
        }
        return seen;
    }
};

TEST_P(SimulatedRadios, ArePolledInPiecesAtFourThousandEightHundredBaud)
{
    const Radio& radio = GetParam();
    RigSimulator sim(radio.make(), 4800);
    ASSERT_TRUE(sim.isOpen());
    PtyRigLink link(sim.devicePath());
    ASSERT_TRUE(link.isOpen());

    RigSettings settings;
    settings.selectRig(*RigModels::find(QStringView(radio.model)));
    settings.pollRate = u'F';
    RigPoller poller(&link);
    // What a radio says to the opening bytes is no reply to a query.
    link.send(RigModels::find(QStringView(radio.model))->opening());
    poller.start(RigPollSettings::from(settings, false, {}), 0);

    Seen seen = pollUntil(poller, 14.025f, "CW");
    EXPECT_FLOAT_EQ(seen.frequencyMHz, 14.025f);
    EXPECT_EQ(seen.mode, "CW");

    sim.setFrequencyHz(7030000);
    sim.setMode(RadioMode::Lsb);
    seen = pollUntil(poller, 7.03f, "PH");
    EXPECT_FLOAT_EQ(seen.frequencyMHz, 7.03f);
    EXPECT_EQ(seen.mode, "PH");
    EXPECT_TRUE(sim.unknownCommands().isEmpty()) << qPrintable(sim.unknownCommands().join(" | "));
}

TEST_P(SimulatedRadios, AnswerHamlibsRigctl)
{
    const Radio& radio = GetParam();
    const QString rigctl = QStandardPaths::findExecutable("rigctl");
    if (rigctl.isEmpty())
        GTEST_SKIP() << "rigctl (libhamlib-utils) is not installed";
    if (radio.hamlibModel == 0)
        GTEST_SKIP() << "Hamlib has no model for this radio";
    RigSimulator sim(radio.make());
    ASSERT_TRUE(sim.isOpen());

    QProcess process;
    QStringList arguments{"-m", QString::number(radio.hamlibModel), "-r", sim.devicePath(), "-s", "4800"};
    arguments += radio.hamlibOptions;
    arguments += QStringList{"f", "m"};
    process.start(rigctl, arguments);
    ASSERT_TRUE(process.waitForFinished(30000)) << "rigctl did not finish";
    const QStringList lines = QString::fromLatin1(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2) << qPrintable(QString::fromLatin1(process.readAllStandardError()))
                               << qPrintable(sim.unknownCommands().join(" | "));
    EXPECT_EQ(lines[0].trimmed(), "14025000");
    EXPECT_EQ(lines[1].trimmed(), "CW");
}

INSTANTIATE_TEST_SUITE_P(Families, SimulatedRadios, ::testing::ValuesIn(kRadios),
                         [](const ::testing::TestParamInfo<Radio>& info) { return std::string(info.param.name); });

}  // namespace
