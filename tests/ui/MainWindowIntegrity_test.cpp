// The main window never loses, doubles or corrupts a contact: not when the start-up stopped early,
// not when keys arrive while a commit syncs, not after a sort of the list, not when the station
// window or a signal arrives at the wrong moment.
#include "core/LogArchive.h"
#include "core/LogFile.h"
#include "platform/KeyingRelease.h"
#include "platform/TerminationSignal.h"
#include "support/ContactLines.h"
#include "support/MainWindowFixture.h"
#include "support/ImmutableFolder.h"
#include "ui/main/EditContactDialog.h"
#include "ui/main/StationDialog.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <functional>
#include <iostream>
#include <memory>

using namespace cubwave;
using namespace cubwave::test;

namespace {

class LogIntegrity : public MainWindowFixture {
protected:
    QTableView* list() const { return form->findChild<QTableView*>("ListView1"); }
    QPushButton* button(const char* name) const { return form->findChild<QPushButton*>(name); }
    QString selectedRecNo() const
    {
        const QModelIndexList rows = list()->selectionModel()->selectedRows();
        return rows.isEmpty() ? QString() : rows.first().data().toString();
    }
    void clickRecord(int recNo)
    {
        for (int row = 0; row < list()->model()->rowCount(); ++row) {
            const QModelIndex at = list()->model()->index(row, 1);
            if (list()->model()->index(row, 0).data().toString() == QString::number(recNo)) {
                QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualRect(at).center());
                return;
            }
        }
        FAIL() << "record " << recNo << " is not listed";
    }
    std::vector<QsoRecord> logRecords() const
    {
        const LogReadResult read = LogFile(dir.filePath("log.txt")).read();
        EXPECT_TRUE(read.ok) << read.reason.toStdString();
        return read.records;
    }
    QStringList loggedCalls() const
    {
        QStringList calls;
        for (const QsoRecord& r : logRecords())
            calls << r.call();
        return calls;
    }
    bool asked(const QString& title) const
    {
        return std::any_of(dialogs.messages.begin(), dialogs.messages.end(),
                           [&](const FakeDialogs::Message& m) { return m.title == title; });
    }
};

}  // namespace

TEST_F(LogIntegrity, AStartUpThatStoppedEarlyNeverWritesTheLog)
{
    struct Case {
        const char* what;
        std::function<void(const QString& dir)> breakIt;
        const char* why;  // part of the message that says why
    };
    const Case cases[] = {
        {"missing preferences", [](const QString& d) { QFile::remove(QDir(d).filePath("cubwavepref.txt")); },
         "cubwavepref.txt"},
        {"unreadable preferences",
         [](const QString& d) {
             QFile f(QDir(d).filePath("cubwavepref.txt"));
             f.open(QIODevice::WriteOnly | QIODevice::Truncate);
             f.write("\"W1AW\"\r\nnot a number\r\n");
         },
         "cubwavepref.txt"},
        {"bad prefix table",
         [](const QString& d) {
             QFile f(QDir(d).filePath("arrlpre2.txt"));
             f.open(QIODevice::WriteOnly | QIODevice::Truncate);
             f.write("\"JA\",\"Japan\",\"AS\",\"not a number\"\r\n");
         },
         "arrlpre2.txt"},
        {"preferences that cannot be saved", nullptr, "could not be saved"},
    };
    const QByteArray log = contactLines(3);
    QDir(dir.path()).mkpath("data/BACKUP");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form.reset();
        dialogs = FakeDialogs();
        for (const char* name : {"cubwavepref.txt", "log.txt", "arrlpre2.txt"})
            QFile::remove(dir.filePath(name));
        SetUp();
        writeLog(log);
        std::unique_ptr<ImmutableFolder> readOnly;
        if (c.breakIt) {
            c.breakIt(dir.path());
            start();
        } else {
            // Nothing can be created in the folder, so the replacing save fails; log.txt itself
            // could still be written.
            readOnly = std::make_unique<ImmutableFolder>(dir.path());
            if (!readOnly->ok()) {
                std::cout << "[   NOTE   ] " << c.what << ": no right to make a folder immutable here\n";
                continue;
            }
            start();
        }
        ASSERT_FALSE(form->logLoaded());
        EXPECT_TRUE(asked("Error opeining file"));

        // A commit: refused, said why and what to do, the contact stays in the entry line.
        dialogs.messages.clear();
        type("w1aw tom 12 ct");
        key(Qt::Key_Return);
        EXPECT_EQ(logBytes(), log);
        ASSERT_FALSE(dialogs.messages.empty());
        EXPECT_EQ(dialogs.messages.back().title, "Log Not Loaded");
        EXPECT_TRUE(dialogs.messages.back().text.contains(c.why)) << dialogs.messages.back().text.toStdString();
        EXPECT_TRUE(dialogs.messages.back().text.contains("start it again"));
        EXPECT_EQ(field("txtCall")->text(), "W1AW");
        EXPECT_EQ(form->store().count(), 0);

        // New log, even answered YES: nothing asked, nothing erased.
        dialogs.inputAnswers.push_back(QString("YES"));
        action("mnuNew")->trigger();
        EXPECT_TRUE(dialogs.inputs.empty() || dialogs.inputs.back().title != LogArchive::kNewLogTitle);
        EXPECT_EQ(logBytes(), log);

        // Restore: nothing copied over the log.
        QFile other(dir.filePath("other.log"));
        other.open(QIODevice::WriteOnly);
        other.write(contactLines(1));
        other.close();
        dialogs.messageAnswers.push_back(MsgAnswer::Yes);
        dialogs.fileAnswers.push_back(dir.filePath("other.log"));
        action("mnuRestore")->trigger();
        EXPECT_EQ(logBytes(), log);

        // Edit and delete of a listed contact: the store holds none of the file's contacts,
        // so a rewrite from it would lose them all.
        QsoRecord r = logRecords().front();
        form->store().append(r);
        form->RecentListRefresh();
        clickRecord(1);
        runModal = [](QDialog& d) { return d.accept(), 1; };
        form->cmdEdit_Click();
        EXPECT_EQ(logBytes(), log);
        clickRecord(1);
        dialogs.messageAnswers.push_back(MsgAnswer::Yes);
        form->cmdDelete_Click();
        EXPECT_EQ(logBytes(), log);
        EXPECT_FALSE(asked("Are you sure?"));

        // The backup at close copies nothing.
        form->close();
        EXPECT_TRUE(QDir(dir.filePath("data/BACKUP")).entryList(QDir::Files).isEmpty());
        EXPECT_EQ(logBytes(), log);
        readOnly.reset();
    }
}

TEST_F(LogIntegrity, TheWindowShowsTheBandAndModeTheNextContactTakesEvenWithoutPreferences)
{
    QFile::remove(dir.filePath("cubwavepref.txt"));
    start();
    EXPECT_EQ(label("Label24")->text(), form->currentBand());
    EXPECT_EQ(form->currentBand(), "20");
    EXPECT_TRUE(action("mnuBand20Ch")->isChecked());
    EXPECT_FALSE(action("mnuBand160Ch")->isChecked());
    EXPECT_EQ(form->currentMode(), "CW");
    EXPECT_TRUE(action("mnu160")->isChecked());
    EXPECT_FALSE(action("mnuSSB")->isChecked());

    // And after the preferences change the band, the label and menus follow.
    Preferences p;
    p.band = "40";
    p.mode = "PH";
    writePrefs(p);
    form.reset();
    start();
    EXPECT_EQ(label("Label24")->text(), "40");
    EXPECT_TRUE(action("mnuBand40Ch")->isChecked());
    EXPECT_FALSE(action("mnuBand20Ch")->isChecked());
    EXPECT_TRUE(action("mnuSSB")->isChecked());
}

TEST_F(LogIntegrity, EnterPressedWhileACommitSyncsStoresTheContactOnce)
{
    start();
    int appends = 0;
    appendToLog = [&](const QString& path, const QsoRecord& record) {
        const WriteResult written = LogFile(path).append(record);
        // A slow disk: the operator presses Enter twice more before the sync returns.
        if (++appends == 1) {
            key(Qt::Key_Return);
            key(Qt::Key_Return);
        }
        return written;
    };
    type("w1aw tom 12 ct");
    key(Qt::Key_Return);
    EXPECT_EQ(loggedCalls(), QStringList{"W1AW"});
    EXPECT_EQ(form->store().count(), 1);
    EXPECT_EQ(field("txtCall")->text(), "");
    EXPECT_EQ(focus(), field("txtCall"));

    // A commit the program starts itself while one runs is refused as well.
    appends = 0;
    appendToLog = [&](const QString& path, const QsoRecord& record) {
        ++appends;
        form->commitContact();
        return LogFile(path).append(record);
    };
    type("k2abc ann 11 ny");
    key(Qt::Key_Return);
    EXPECT_EQ(appends, 1);
    EXPECT_EQ(loggedCalls(), (QStringList{"W1AW", "K2ABC"}));
}

TEST_F(LogIntegrity, ContactsTypedAheadDuringASlowSyncAreEachStoredExactly)
{
    start();
    // Each sync takes long enough for the operator to type the whole next contact and Enter.
    QStringList typedAhead = {"k2bbb bob 13 ny green", "ve3ccc cy 14 on", "ja1ddd dan 15 japan red"};
    appendToLog = [&](const QString& path, const QsoRecord& record) {
        const WriteResult written = LogFile(path).append(record);
        clock.advanceMs(60);
        if (!typedAhead.isEmpty()) {
            type(typedAhead.takeFirst());
            key(Qt::Key_Return);
        }
        return written;
    };
    type("w1aaa ann 12 ct blue");
    key(Qt::Key_Return);

    const std::vector<QsoRecord> logged = logRecords();
    ASSERT_EQ(logged.size(), 4u);
    const struct {
        const char* call;
        const char* name;
        const char* age;
        const char* spc;
        const char* other;
    } expected[] = {
        {"W1AAA", "ANN", "12", "CT", "Blue"},
        {"K2BBB", "BOB", "13", "NY", "Green"},
        {"VE3CCC", "CY", "14", "ON", ""},
        {"JA1DDD", "DAN", "15", "Japan", "Red"},
    };
    for (size_t i = 0; i < logged.size(); ++i) {
        EXPECT_EQ(logged[i].call(), expected[i].call) << i;
        EXPECT_EQ(logged[i][QsoRecord::Name], expected[i].name) << i;
        EXPECT_EQ(logged[i][QsoRecord::Age], expected[i].age) << i;
        EXPECT_EQ(logged[i].spc(), expected[i].spc) << i;
        EXPECT_EQ(logged[i][QsoRecord::Other], expected[i].other) << i;
    }
    EXPECT_EQ(form->store().records(), logged);
    EXPECT_EQ(field("txtCall")->text(), "");
    EXPECT_EQ(focus(), field("txtCall"));
}

TEST_F(LogIntegrity, TheSelectedContactStaysSelectedAcrossASortAndIsTheOneDeleted)
{
    writeLog(contactLines(11));
    start();
    clickRecord(5);
    ASSERT_TRUE(button("cmdDelete")->isVisible());
    for (int column : {1, 0, 6}) {
        list()->horizontalHeader()->sectionClicked(column);
        EXPECT_EQ(selectedRecNo(), "5") << column;
        EXPECT_TRUE(button("cmdDelete")->isVisible()) << column;
        EXPECT_EQ(form->selectedRecord(), 5) << column;
    }
    dialogs.messageAnswers.push_back(MsgAnswer::Yes);
    QTest::mouseClick(button("cmdDelete"), Qt::LeftButton);
    EXPECT_EQ(form->store().count(), 10);
    EXPECT_FALSE(loggedCalls().contains("K5ABC"));
    EXPECT_TRUE(loggedCalls().contains("K6ABC"));
}

TEST_F(LogIntegrity, EditAndDeleteHideWhenNothingIsSelected)
{
    writeLog(contactLines(3));
    start();
    clickRecord(2);
    ASSERT_TRUE(button("cmdEdit")->isVisible());
    list()->selectionModel()->clearSelection();
    EXPECT_FALSE(button("cmdEdit")->isVisible());
    EXPECT_FALSE(button("cmdDelete")->isVisible());
    // Nothing selected: a delete asks nothing and removes nothing.
    form->cmdDelete_Click();
    EXPECT_FALSE(asked("Are you sure?"));
    EXPECT_EQ(form->store().count(), 3);
}

TEST_F(LogIntegrity, StationWindowWritesBackItsOwnTenFieldsOnly)
{
    start();
    runModal = [this](QDialog& dialog) {
        // A rig report changes band and mode while the window is open.
        form->bandCommand("40");
        form->modeCommand("PH");
        dialog.findChild<QLineEdit*>("Text1")->setText("W1AW");
        static_cast<StationDialog&>(dialog).Command1_Click();
        return 1;
    };
    action("mnuSetup")->trigger();
    EXPECT_EQ(form->currentBand(), "40");
    EXPECT_EQ(form->currentMode(), "PH");
    EXPECT_EQ(label("Label24")->text(), "40");
    EXPECT_EQ(form->prefs().ownCall, "W1AW");
    EXPECT_EQ(savedPrefs().band, "40");
    EXPECT_EQ(savedPrefs().mode, "PH");
    EXPECT_EQ(savedPrefs().ownCall, "W1AW");
}

TEST_F(LogIntegrity, AnEndRequestedDuringAStartUpDialogEndsTheStartUpAfterIt)
{
    writeLog(contactLines(2));
    // SIGTERM while "Open existing log?" waits: the forced answer neither loads nor erases.
    TerminationSignal termination;
    dialogs.whileShown = [&](const QString& title) {
        if (title != "Open existing log?")
            return;
        QObject::connect(&termination, &TerminationSignal::requested, form.get(), &MainWindow::requestEnd);
        std::raise(SIGTERM);
        QTest::qWait(50);
        KeyingRelease::resume();  // the handler halted the keying for the rest of this process
    };
    start();
    EXPECT_TRUE(form->endRequested());
    EXPECT_FALSE(form->logLoaded());
    EXPECT_TRUE(dialogs.inputs.empty());  // no "type YES" for a new log
    EXPECT_EQ(logBytes(), contactLines(2));
    EXPECT_EQ(form->store().count(), 0);

    // During the station window: it closes as its close box would, and nothing follows it.
    form.reset();
    dialogs = FakeDialogs();
    Preferences before = savedPrefs();
    runModal = [this](QDialog& dialog) {
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        dialog.findChild<QLineEdit*>("Text1")->setText("K9XX");
        form->requestEnd();
        EXPECT_FALSE(dialog.isVisible());
        return dialog.result();
    };
    start();
    EXPECT_TRUE(form->endRequested());
    EXPECT_FALSE(asked("Open existing log?"));
    EXPECT_EQ(savedPrefs().ownCall, before.ownCall);
    EXPECT_EQ(logBytes(), contactLines(2));
}

TEST_F(LogIntegrity, ReadOnlyFilesAreLeftAsTheOperatorMadeThem)
{
    const auto setMode = [this](const char* name, unsigned mode) {
        ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath(name)).constData(), mode), 0);
    };
    const auto bytesOf = [this](const char* name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };

    // Read-only preferences: the start-up goes on and the changes live for this run only.
    const QByteArray log = contactLines(3);
    writeLog(log);
    const QByteArray prefs = bytesOf("cubwavepref.txt");
    setMode("cubwavepref.txt", 0444);
    start();
    EXPECT_TRUE(form->logLoaded());
    EXPECT_TRUE(endedWith.empty());
    EXPECT_FALSE(asked("Error opeining file"));
    EXPECT_FALSE(asked("Error saving preferences"));
    EXPECT_EQ(status(), "cubwavepref.txt is read-only: changes are not saved.");
    label("lblDialog")->setText("something else");
    action("mnuBand40Ch")->trigger();
    EXPECT_EQ(form->currentBand(), "40");
    EXPECT_EQ(status(), "something else");  // said once, not on every save
    EXPECT_FALSE(asked("Error saving preferences"));
    EXPECT_EQ(bytesOf("cubwavepref.txt"), prefs);
    setMode("cubwavepref.txt", 0600);
    form.reset();

    // A read-only log: no commit, edit or delete writes it, each says so, and the window shows
    // what the file holds.
    dialogs = FakeDialogs();
    start();
    ASSERT_TRUE(form->logLoaded());
    setMode("log.txt", 0444);
    const QString refusal = QStringLiteral("Could not write %1:  %2").arg(dir.filePath("log.txt"), readOnlyReason());

    type("w1aw tom 12 ct");
    key(Qt::Key_Return);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().title, "File Error");
    EXPECT_TRUE(dialogs.messages.back().text.startsWith(refusal)) << dialogs.messages.back().text.toStdString();
    EXPECT_EQ(field("txtCall")->text(), "W1AW");
    EXPECT_EQ(form->store().count(), 3);
    EXPECT_TRUE(endedWith.empty());

    runModal = [](QDialog& d) {
        d.findChild<QLineEdit*>("txtEditCall")->setText("K9XYZ");
        static_cast<EditContactDialog&>(d).cmdDone_Click();
        return 1;
    };
    clickRecord(2);
    form->cmdEdit_Click();
    EXPECT_EQ(dialogs.messages.back().title, "Error Saving Log");
    EXPECT_TRUE(dialogs.messages.back().text.startsWith(refusal)) << dialogs.messages.back().text.toStdString();
    EXPECT_FALSE(loggedCalls().contains("K9XYZ"));
    EXPECT_EQ(form->store().records(), logRecords());

    clickRecord(2);
    dialogs.messageAnswers.push_back(MsgAnswer::Yes);
    form->cmdDelete_Click();
    EXPECT_EQ(dialogs.messages.back().title, "Error Saving Log");
    EXPECT_EQ(form->store().count(), 3);
    setMode("log.txt", 0600);
    EXPECT_EQ(logBytes(), log);
    EXPECT_TRUE(endedWith.empty());
}

TEST_F(LogIntegrity, APrefixTableThatIsMissingOrTooLargeIsNamedOnTheStatusLine)
{
    // Missing: the start-up goes on and every call is "Not Found", as the operator is told.
    QFile::remove(dir.filePath("arrlpre2.txt"));
    start();
    EXPECT_TRUE(form->logLoaded());
    EXPECT_FALSE(asked("Error opeining file"));
    EXPECT_TRUE(status().startsWith("arrlpre2.txt was not found in ")) << status().toStdString();
    EXPECT_TRUE(status().contains(dir.path())) << status().toStdString();
    EXPECT_TRUE(status().endsWith(": every call shows \"Not Found\".")) << status().toStdString();
    type("ja1abc");
    EXPECT_EQ(field("txtCntry")->text(), "Not Found");
    form.reset();

    // Too large: the start-up stops, and the status line says which file and why.
    dialogs = FakeDialogs();
    {
        QFile big(dir.filePath("arrlpre2.txt"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(PrefixTable::kMaxFileBytes + 1));
    }
    start();
    EXPECT_FALSE(form->logLoaded());
    EXPECT_TRUE(asked("Error opeining file"));
    EXPECT_EQ(status(), QStringLiteral("The start-up stopped: %1 cannot be read: the file is larger than %2 bytes.")
                            .arg(dir.filePath("arrlpre2.txt"))
                            .arg(PrefixTable::kMaxFileBytes));
}
