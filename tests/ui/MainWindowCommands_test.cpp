#include "export/ProductCaption.h"
#include "support/MainWindowFixture.h"
#include "ui/common/ElidedLabel.h"
#include "ui/main/StationDialog.h"
#include "ui/main/WindowLauncher.h"

#include <QDialog>

#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace cubwave;
using namespace cubwave::test;

namespace {

class Commands : public MainWindowFixture {};

}  // namespace

TEST_F(Commands, MenuBarHasEveryEntryWithItsCaption)
{
    start();
    const std::pair<const char*, const char*> entries[] = {
        {"mnuNew", "&New"},
        {"mnuArchive", "Archive Current &Log"},
        {"mnuRestore", "&Restore from Archive or Backup"},
        {"mnuWriteSumm", "&Write Summary File"},
        {"mnuADIF", "Export &ADIF File"},
        {"mnuCopyListtoClipboard", "&Copy Listed Items to Clipboard"},
        {"mnuExit", "&Exit"},
        {"mnuCW", "&CW Setup"},
        {"mnuVoice", "&Voice Setup"},
        {"mnuCWStrings", "CW &Strings"},
        {"mnuFormSize", "&Form Size"},
        {"mnuColors", "&Colors"},
        {"mnuTaskbar", "&Taskbar"},
        {"mnuRigInterface", "&Rig Interface"},
        {"mnuRigTune", "Change &Frequency and Mode"},
        {"mnuDXSpotting", "&Configure"},
        {"mnuViewSpwctrumMap", "&View Spectrum Map"},
        {"mnuListPrevious", "&List Previous Contacts"},
        {"mnuPostContest", "&Post Contest Mode"},
        {"mnuSetup", "&Setup"},
        {"mnuBand160Ch", "160"},
        {"mnuBand80Ch", "80"},
        {"mnuBand2ch", "2"},
        {"mnuPrivileges", "&Privileges"},
        {"mnu160", "&CW"},
        {"mnuSSB", "&PH"},
        {"mnuGraph", "&Graph"},
        {"mnuHelp", "&Help"},
        {"mnuRSTDefault", "R&ST Default"},
    };
    for (const auto& [name, caption] : entries) {
        QAction* a = action(name);
        ASSERT_NE(a, nullptr) << name;
        // The caption, then (after a tab) the keys that open the same window, if any.
        EXPECT_EQ(a->text().section('\t', 0, 0), caption) << name;
        EXPECT_TRUE(a->shortcut().isEmpty()) << name;  // the keys go through the window's handlers
    }
    QStringList top;
    for (QAction* a : form->menuBar()->actions())
        top << a->text();
    EXPECT_EQ(top, (QStringList{"&File", "&Options", "&Band", "&Mode", "&Graph", "&Help"}));
    EXPECT_FALSE(action("mnuBand160Ch")->isVisible());
    EXPECT_TRUE(action("mnuBand20Ch")->isChecked());  // the shipped band
    EXPECT_TRUE(action("mnu160")->isChecked());       // and mode
    EXPECT_EQ(label("Label24")->text(), "20");
    EXPECT_EQ(status(), "Ready to begin!");
}

TEST_F(Commands, EntriesShowTheKeysOfTheirWindowsAndOpenThem)
{
    start();
    using W = WindowLauncher::Window;
    const std::tuple<const char*, const char*, W, bool> entries[] = {
        {"mnuCW", "Ctrl+S", W::CwSetup, true},
        {"mnuVoice", "Ctrl+P", W::VoiceSetup, true},
        {"mnuCWStrings", "Ctrl+W", W::CwStrings, false},
        {"mnuRigInterface", "Ctrl+R", W::RigInterface, false},
        {"mnuRigTune", "Ctrl+G", W::RigTune, true},
        {"mnuDXSpotting", "Ctrl+D", W::DxSpotting, false},
        {"mnuViewSpwctrumMap", "Ctrl+B", W::SpectrumMap, true},
        {"mnuPrivileges", "Ctrl+F", W::BandPlan, true},
    };
    for (const auto& [name, keys, window, modal] : entries) {
        QAction* a = action(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->text().section('\t', 1), keys) << name;
        ports.windows.shown.clear();
        a->trigger();
        ASSERT_EQ(ports.windows.shown.size(), 1u) << name;
        EXPECT_EQ(ports.windows.shown[0].window, window) << name;
        EXPECT_EQ(ports.windows.shown[0].modal, modal) << name;
    }
    EXPECT_EQ(status(), "Ready to begin!");
}

TEST_F(Commands, AnEntryOrKeyWhoseWindowIsNotBuiltSaysSo)
{
    using W = WindowLauncher::Window;
    ports.windows.absent = {W::SpectrumMap, W::DxSpotting, W::Help, W::Colors};
    start();
    const std::pair<const char*, const char*> entries[] = {
        {"mnuViewSpwctrumMap", "View Spectrum Map is not available yet."},
        {"mnuDXSpotting", "DX Spotting is not available yet."},
        {"mnuHelp", "Help is not available yet."},
        {"mnuColors", "Colors is not available yet."},
    };
    for (const auto& [name, text] : entries) {
        label("lblDialog")->clear();
        action(name)->trigger();
        EXPECT_EQ(status(), text) << name;
    }
    EXPECT_TRUE(ports.windows.shown.empty());

    key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(status(), "View Spectrum Map is not available yet.");
    key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(status(), "DX Spotting is not available yet.");
    EXPECT_TRUE(ports.windows.shown.empty());
    // A built window's key still opens it.
    key(Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(ports.windows.shown.size(), 1u);
    EXPECT_EQ(ports.windows.shown[0].window, W::RigInterface);
}

TEST_F(Commands, ALongStatusTextShowsItIsCutAndHasTheWholeTextAsTooltip)
{
    start();
    form->show();
    QLabel* line = label("lblDialog");
    const QString whole =
        "The start-up stopped: /home/op/Cubwave/wave2.txt is larger than a voice message list can be (4096 "
        "bytes).  Copy the wave2.txt that comes with the program into /home/op/Cubwave.";
    line->setText(whole);
    EXPECT_EQ(line->text(), whole);  // whoever set it reads it back whole
    const QString shown = shownText(line);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_LT(shown.size(), whole.size());
    EXPECT_TRUE(whole.startsWith(shown.chopped(1)));
    EXPECT_LE(line->fontMetrics().horizontalAdvance(shown), line->contentsRect().width());

    QHelpEvent hover(QEvent::ToolTip, QPoint(4, 4), line->mapToGlobal(QPoint(4, 4)));
    QCoreApplication::sendEvent(line, &hover);
    EXPECT_EQ(line->toolTip(), whole);
    line->grab();  // painting takes the elided text, and does not stop at a frame or margin

    // A text that fits is shown as it is.
    line->setText("Contact NOT saved!");
    EXPECT_EQ(shownText(line), "Contact NOT saved!");
    QCoreApplication::sendEvent(line, &hover);
    EXPECT_EQ(line->toolTip(), "Contact NOT saved!");
}

TEST_F(Commands, BandCommandsCheckSaveAndReloadForTheOutlyingBands)
{
    start();
    action("mnuBand40Ch")->trigger();
    EXPECT_TRUE(action("mnuBand40Ch")->isChecked());
    EXPECT_FALSE(action("mnuBand20Ch")->isChecked());
    EXPECT_EQ(label("Label24")->text(), "40");
    EXPECT_EQ(savedPrefs().band, "40");

    // 6 m reloads the log: a contact appended behind the program's back shows up.
    writeLog("\"K1ABC\",\"12\",\"\",\"\",\"CT\",\"2026/06/13\",\"18:00:00\",\"CW\",\"20\",\"ANN\",\"\"\r\n");
    action("mnuBand6Ch")->trigger();
    EXPECT_EQ(form->store().count(), 1);

    // The band label steps through the bands, wrapping from 2 to 80, and stays put on 160.
    QLabel* band = label("Label24");
    QTest::mouseClick(band, Qt::LeftButton);
    EXPECT_EQ(form->currentBand(), "2");
    QTest::mouseClick(band, Qt::LeftButton);
    EXPECT_EQ(form->currentBand(), "80");
    form->bandCommand("160");
    QTest::mouseClick(band, Qt::LeftButton);
    EXPECT_EQ(form->currentBand(), "160");
}

TEST_F(Commands, ModeCommandsSwapTheCheckMarkAndSave)
{
    start();
    action("mnuSSB")->trigger();
    EXPECT_TRUE(action("mnuSSB")->isChecked());
    EXPECT_FALSE(action("mnu160")->isChecked());
    EXPECT_EQ(savedPrefs().mode, "PH");
    type("w1aw ann 12 ct");
    key(Qt::Key_Return);
    EXPECT_TRUE(logBytes().contains("\"PH\",\"20\""));
    EXPECT_EQ(label("lblTotSec")->text(), "1");
}

TEST_F(Commands, OptionTogglesAreSaved)
{
    start();
    action("mnuListPrevious")->trigger();
    EXPECT_EQ(savedPrefs().listPrevious, 1);
    action("mnuListPrevious")->trigger();
    EXPECT_EQ(savedPrefs().listPrevious, 0);

    // A stored setting shows as the menu's check mark after the next start.
    Preferences stored = savedPrefs();
    stored.listPrevious = 1;
    writePrefs(stored);
    form.reset();
    start();
    EXPECT_TRUE(action("mnuListPrevious")->isChecked());

    dialogs.inputAnswers.push_back(QString("599"));
    action("mnuRSTDefault")->trigger();
    ASSERT_EQ(dialogs.inputs.size(), 1u);
    EXPECT_EQ(dialogs.inputs[0].title, "Default RST");
    EXPECT_EQ(dialogs.inputs[0].prompt, "Please enter the default RST value.");
    EXPECT_EQ(savedPrefs().defaultRst, "599");
    action("mnuRSTDefault")->trigger();  // cancelled
    EXPECT_EQ(dialogs.inputs[1].defaultText, "599");
    EXPECT_EQ(savedPrefs().defaultRst, "");
}

TEST_F(Commands, SummaryNeedsTheOwnCall)
{
    start();
    action("mnuWriteSumm")->trigger();
    EXPECT_EQ(dialogs.messages.back().title, "Call Sign Required!");
    EXPECT_EQ(dialogs.messages.back().text, "Please enter your call in setup.");
    EXPECT_TRUE(ports.exports.calls.empty());
    form->prefs().ownCall = "W1AW";
    action("mnuWriteSumm")->trigger();
    ASSERT_EQ(ports.exports.calls.size(), 1u);
    EXPECT_EQ(ports.exports.calls[0].command, "summary");
    EXPECT_EQ(ports.exports.calls[0].ownCall, "W1AW");
}

// The export menu entries reach the export commands through their port, with the whole log, the
// main window's caption and, for the ADIF file, the own call.
TEST_F(Commands, ExportMenuEntriesReachTheExportCommands)
{
    writeLog("\"K1ABC\",\"12\",\"\",\"\",\"CT\",\"2026/06/13\",\"18:00:00\",\"CW\",\"20\",\"ANN\",\"\"\r\n"
             "\"W1AW\",\"40\",\"\",\"\",\"CT\",\"2026/06/13\",\"18:01:00\",\"CW\",\"20\",\"TOM\",\"\"\r\n");
    start();
    form->prefs().ownCall = "N0CUB";
    const std::pair<const char*, const char*> entries[] = {
        {"mnuADIF", "adif"}, {"mnuWriteSumm", "summary"}, {"mnuGraph", "graph"}};
    for (const auto& [name, command] : entries) {
        ports.exports.calls.clear();
        action(name)->trigger();
        ASSERT_EQ(ports.exports.calls.size(), 1u) << name;
        EXPECT_EQ(ports.exports.calls[0].command, command);
        EXPECT_EQ(ports.exports.calls[0].contacts, 2);
    }
    action("mnuADIF")->trigger();
    EXPECT_EQ(ports.exports.calls.back().caption, ProductCaption::kMainWindowCaption);
    EXPECT_EQ(ports.exports.calls.back().ownCall, "N0CUB");
    EXPECT_EQ(form->windowTitle(), ProductCaption::kMainWindowCaption);
}

TEST_F(Commands, ExitEndsAtOnceWithoutUnloadingAnything)
{
    start();
    action("mnuExit")->trigger();
    EXPECT_EQ(endedWith, std::vector<int>{0});
    EXPECT_TRUE(ports.unloads.isEmpty());
}

TEST_F(Commands, MissingPreferencesStopTheLoadWithItsMessage)
{
    QFile::remove(dir.filePath("cubwavepref.txt"));
    start();
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages[0].title, "Error opeining file");
    // The fixed text, then why and what to do: the box is what the operator reads.
    EXPECT_EQ(dialogs.messages[0].text,
              "Error opening file\n\nThe start-up stopped because cubwavepref.txt in " +
                  QDir::toNativeSeparators(dir.path()) +
                  " is missing or cannot be read.\n\nClose this program, copy the cubwavepref.txt that comes with it "
                  "into that folder, and start it again.");
    EXPECT_EQ(dialogs.messages.size(), 1u);  // the log question never came
}

TEST_F(Commands, StartUpQuestionNoStartsANewLogOnlyWhenConfirmed)
{
    const QByteArray log = "\"K1ABC\",\"12\",\"\",\"\",\"CT\",\"2026/06/13\",\"18:00:00\",\"CW\",\"20\",\"ANN\",\"\"\r\n";
    writeLog(log);
    dialogs.inputAnswers.push_back(QString("no thanks"));
    start(false);
    ASSERT_EQ(dialogs.inputs.size(), 1u);
    EXPECT_EQ(dialogs.inputs[0].title, "WARNING - Your existing log file will be ERASED!");
    EXPECT_EQ(dialogs.messages[0].title, "Open existing log?");
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(logBytes(), log);
    EXPECT_EQ(form->store().count(), 1);

    form.reset();
    dialogs.inputAnswers.push_back(QString("yes"));
    start(false);
    EXPECT_TRUE(logBytes().isEmpty());
    EXPECT_EQ(form->store().count(), 0);
}

TEST_F(Commands, StationWindowAtStartUpSetsTheOwnExchange)
{
    runModal = [](QDialog& dialog) {
        for (const auto& [name, text] : {std::pair{"Text1", "W1AW"}, {"Text9", "TOM"}, {"Text8", "12"},
                                         {"Text5", "CT"}, {"Text10", "BLUE"}})
            dialog.findChild<QLineEdit*>(name)->setText(text);
        static_cast<StationDialog&>(dialog).Command1_Click();
        return 1;
    };
    start();
    EXPECT_EQ(savedPrefs().ownCall, "W1AW");
    EXPECT_EQ(label("Label2")->text(), "W1AW");
    EXPECT_EQ(label("Label26")->text(), "TOM");
    EXPECT_EQ(label("Label4")->text(), "12");
    EXPECT_EQ(label("Label25")->text(), "CT");
    EXPECT_EQ(label("Label1")->text(), "BLUE");
    EXPECT_EQ(label("lblutctime")->text(), "18:05:33");
    EXPECT_EQ(label("lblCurTime")->text(), "2:05:33");
    EXPECT_EQ(label("Label16")->text(), "PM");

    // Closing the window from the menu without Done keeps everything.
    runModal = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("Text1")->setText("K9XX");
        dialog.reject();
        return 0;
    };
    action("mnuSetup")->trigger();
    EXPECT_EQ(savedPrefs().ownCall, "W1AW");
}

TEST_F(Commands, UtcOffsetIsOfferedWhenTheComputerDisagrees)
{
    clock.setUtcShiftSecs(5 * 3600);
    dialogs.inputAnswers.push_back(QString("5"));
    start();
    ASSERT_FALSE(dialogs.inputs.empty());
    EXPECT_EQ(dialogs.inputs[0].title, "Update the Local Time / UTC Offset?");
    EXPECT_EQ(dialogs.inputs[0].defaultText, "5");
    EXPECT_EQ(savedPrefs().utcOffsetHours, 5.0f);

    form.reset();
    clock.setUtcShiftSecs(6 * 3600);
    start();  // cancelled: the stored offset stays
    EXPECT_EQ(savedPrefs().utcOffsetHours, 5.0f);
}

TEST_F(Commands, MalformedPrefixTableStopsTheStartUp)
{
    QFile table(dir.filePath("arrlpre2.txt"));
    ASSERT_TRUE(table.open(QIODevice::WriteOnly | QIODevice::Truncate));
    table.write("\"JA\",\"Japan\",\"AS\",\"not a number\"\r\n");
    table.close();
    start();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Error opeining file");
    EXPECT_EQ(form->store().count(), 0);  // no log question, no reload
}
