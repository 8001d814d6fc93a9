#include "export/ProductCaption.h"
#include "support/MainWindowFixture.h"
#include "ui/main/StationDialog.h"

#include <QDialog>

#include <QFile>
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
        {"mnuFormSize", "&Form Size"},
        {"mnuColors", "&Colors"},
        {"mnuTaskbar", "&Taskbar"},
        {"mnuRigInterface", "&Rig Interface"},
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
        EXPECT_EQ(a->text(), caption) << name;
        EXPECT_TRUE(a->shortcut().isEmpty()) << name;
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
    EXPECT_EQ(dialogs.messages[0].text, "Error opening file");
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
