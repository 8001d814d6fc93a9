// Commands against a simulated radio of each family on a pseudo-terminal, on the real clock and
// timers: the command sets the radio, and the poll then reads back the frequency and mode that
// the main window's band and mode follow.
#include "bandplan/SidebandTable.h"
#include "core/BandSelection.h"
#include "platform/QtOneShotTimer.h"
#include "platform/SystemClock.h"
#include "rig/RigCommandRunner.h"
#include "support/PtyRigLink.h"
#include "support/RigSimulator.h"
#include "ui/rig/TuneDialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace cubwave;
using namespace cubwave::test;

namespace {

struct Radio {
    const char* name;
    const char16_t* model;
    std::function<std::unique_ptr<SimulatedRadio>()> make;
    bool setsMode;  // the family has mode commands
};

void PrintTo(const Radio& r, std::ostream* os) { *os << r.name; }

const Radio kRadios[] = {
    {"Kenwood", u"Kenwood", makeKenwoodRadio, true},
    {"Kenwood2", u"Kenwood 2", makeKenwoodRadio, true},
    {"Elecraft", u"Elecraft", makeKenwoodRadio, true},
    {"Icom", u"Icom", [] { return makeIcomRadio(0x64, 5); }, true},
    {"Icom735", u"Icom 735", [] { return makeIcomRadio(0x64, 4); }, false},
    {"OmniVi", u"Ten Tec Omni VI", [] { return makeIcomRadio(0x04, 5); }, true},
    {"YaesuFiveByte", u"Yaesu", makeYaesuFiveByteRadio, true},
    {"Yaesu757GxII", u"Yaesu 757 GX II", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft757GxII); }, true},
    {"Yaesu890", u"Yaesu 890", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft890); }, true},
    {"Yaesu920", u"Yaesu 920", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft920); }, true},
    {"Yaesu990", u"Yaesu 990", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft990); }, true},
    {"Yaesu1000D", u"Yaesu 1000 D", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft1000D); }, true},
    {"Yaesu1000", u"Yaesu 1000", [] { return makeYaesuStatusRadio(YaesuStatusKind::Ft1000MP); }, true},
    {"FTdx9000", u"Yaesu FTdx9000", [] { return makeYaesuTextRadio(8); }, true},
    {"FrontPanel", u"Ten Tec Fnt Pnl", makeTenTecPanelRadio, false},
    {"Orion", u"Ten Tec Orion", makeOrionRadio, false},
};

class CommandsOnSimulatedRadios : public ::testing::TestWithParam<Radio> {};

TEST_P(CommandsOnSimulatedRadios, SetTheRadioAndThePollReadsItBack)
{
    const Radio& radio = GetParam();
    RigSimulator sim(radio.make());
    ASSERT_TRUE(sim.isOpen());
    sim.setMode(RadioMode::Usb);
    // Radios that take mode commands keep a mode per band: 40 m, never used, recalls LSB when the
    // frequency command lands there, after the band plan's CW was set on 20 m.
    sim.setBandMemories(radio.setsMode);
    PtyRigLink link(sim.devicePath());
    ASSERT_TRUE(link.isOpen());
    const RigModel& model = *RigModels::find(QStringView(radio.model));

    RigSettings settings;
    settings.selectRig(model);
    settings.pollRate = u'F';
    RigPoller poller(&link);
    link.send(model.opening());
    SystemClock clock;
    poller.start(RigPollSettings::from(settings, false, {}), clock.ticksMs());

    QtOneShotTimer commandTimer;
    RigCommandRunner runner(poller, commandTimer, clock);
    runner.setLink(&link);
    runner.setSidebands(SidebandTable::load(QStringLiteral(CUBWAVE_SOURCE_DIR "/data")));
    QSignalSpy failed(&runner, &RigCommandRunner::commandFailed);

    // The rig window's poll timer, and what the main window would do with each report.
    QString band = QStringLiteral("20");
    QString frequencyText;
    QString mode = QStringLiteral("PH");
    QTimer pollTimer;
    QObject::connect(&pollTimer, &QTimer::timeout, [&] {
        const RigTickResult result = poller.tick(clock.ticksMs());
        ASSERT_FALSE(result.lineLost);
        if (result.bandReportMHz) {
            const BandSelection::FrequencyReport report = BandSelection::frequencyReport(*result.bandReportMHz, band);
            if (report.bandCommand)
                band = *report.bandCommand;
            if (report.frequencyText)
                frequencyText = *report.frequencyText;
        }
        if (result.modeReport && BandSelection::modeSelection(*result.modeReport, mode) != BandSelection::ModeCommand::None)
            mode = *result.modeReport;
    });
    pollTimer.start(poller.settings().intervalMs);

    // Let the poll find the radio on 20 m first.
    ASSERT_TRUE(QTest::qWaitFor([&] { return frequencyText == "14.025"; }, 3000)) << qPrintable(frequencyText);

    QSignalSpy idle(&runner, &RigCommandRunner::idle);
    runner.changeFrequency(7'025'000);
    ASSERT_TRUE(idle.wait(5000));
    EXPECT_EQ(failed.count(), 0) << (failed.isEmpty() ? "" : qPrintable(failed[0][1].toString()));
    // The radio's side answers on its own thread: give it the moment it needs.
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim.frequencyHz() == 7'025'000; }, 1000)) << sim.frequencyHz();
    const RadioMode wantRadioMode = radio.setsMode ? RadioMode::Cw : RadioMode::Usb;
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim.mode() == wantRadioMode; }, 1000)) << int(sim.mode());

    const QString wantMode = radio.setsMode ? QStringLiteral("CW") : QStringLiteral("PH");
    EXPECT_TRUE(QTest::qWaitFor([&] { return frequencyText == "7.025" && mode == wantMode; }, 3000))
        << qPrintable(frequencyText + " " + mode);
    EXPECT_EQ(band, "40");
    EXPECT_TRUE(sim.unknownCommands().isEmpty()) << qPrintable(sim.unknownCommands().join(" | "));
}

INSTANTIATE_TEST_SUITE_P(Families, CommandsOnSimulatedRadios, ::testing::ValuesIn(kRadios),
                         [](const ::testing::TestParamInfo<Radio>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// What an operator does: Ctrl+G's window, 7.025 and Enter, with a Kenwood polled every 100 ms;
// the band, mode and frequency the next contact takes follow the radio.
TEST(TuneWindowOnASimulatedKenwood, TunesTheRadioAndTheLogFollows)
{
    RigSimulator sim(makeKenwoodRadio());
    ASSERT_TRUE(sim.isOpen());
    sim.setMode(RadioMode::Usb);
    PtyRigLink link(sim.devicePath());
    RigSettings settings;
    settings.selectRig(*RigModels::find(u"Kenwood"));
    settings.pollRate = u'F';
    RigPoller poller(&link);
    SystemClock clock;
    poller.start(RigPollSettings::from(settings, false, {}), clock.ticksMs());
    QtOneShotTimer commandTimer;
    RigCommandRunner runner(poller, commandTimer, clock);
    runner.setLink(&link);
    runner.setSidebands(SidebandTable::load(QStringLiteral(CUBWAVE_SOURCE_DIR "/data")));

    QString band = QStringLiteral("20");
    QString frequencyText;
    QString mode = QStringLiteral("PH");
    QTimer pollTimer;
    QObject::connect(&pollTimer, &QTimer::timeout, [&] {
        const RigTickResult result = poller.tick(clock.ticksMs());
        if (result.bandReportMHz) {
            const BandSelection::FrequencyReport report = BandSelection::frequencyReport(*result.bandReportMHz, band);
            band = report.bandCommand.value_or(band);
            frequencyText = report.frequencyText.value_or(frequencyText);
        }
        if (result.modeReport && BandSelection::modeSelection(*result.modeReport, mode) != BandSelection::ModeCommand::None)
            mode = *result.modeReport;
    });
    pollTimer.start(poller.settings().intervalMs);

    TuneDialog tune(runner);
    tune.show();
    auto* txtFreq = tune.findChild<QLineEdit*>(QStringLiteral("txtFreq"));
    QTest::keyClicks(txtFreq, QStringLiteral("7.025"));
    QTest::keyClick(txtFreq, Qt::Key_Return);

    EXPECT_TRUE(QTest::qWaitFor([&] { return frequencyText == "7.025" && mode == "CW"; }, 5000))
        << qPrintable(frequencyText + " " + mode);
    EXPECT_EQ(band, "40");
    EXPECT_EQ(sim.frequencyHz(), 7'025'000);
    EXPECT_EQ(sim.mode(), RadioMode::Cw);
}

}  // namespace
