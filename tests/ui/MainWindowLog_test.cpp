#include "core/LogLine.h"
#include "support/ContactLines.h"
#include "support/MainWindowFixture.h"
#include "ui/main/EditContactDialog.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace cubwave;
using namespace cubwave::test;

namespace {

class LogCommandsTest : public MainWindowFixture {
protected:
    QTableView* list() const { return form->findChild<QTableView*>("ListView1"); }
    QPushButton* button(const char* name) const { return form->findChild<QPushButton*>(name); }
    QStringList column(int c) const
    {
        QStringList out;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            out << list()->model()->index(row, c).data().toString();
        return out;
    }
    void selectRecord(int recNo)
    {
        const QStringList recs = column(0);
        const int row = static_cast<int>(recs.indexOf(QString::number(recNo)));
        ASSERT_GE(row, 0);
        list()->setCurrentIndex(list()->model()->index(row, 0));
    }
    QStringList backups() const
    {
        return QDir(dir.filePath("data/BACKUP")).entryList(QDir::Files);
    }
};

}  // namespace

TEST_F(LogCommandsTest, ListShowsTheTwentyNewestOrAll)
{
    writeLog(contactLines(21));
    start();
    EXPECT_EQ(column(0).size(), 20);
    EXPECT_EQ(column(0).first(), "21");
    EXPECT_EQ(column(0).last(), "2");
    EXPECT_EQ(list()->model()->headerData(6, Qt::Horizontal).toString(), "Date/Time");
    EXPECT_EQ(column(6).first(), "06/13 18:00");

    QTest::mouseClick(button("cmdList"), Qt::LeftButton);
    EXPECT_EQ(button("cmdList")->text(), "All");
    EXPECT_EQ(column(0).size(), 21);
    QTest::mouseClick(button("cmdList"), Qt::LeftButton);
    EXPECT_EQ(button("cmdList")->text(), "Last 20");
    EXPECT_EQ(column(0).size(), 20);
    EXPECT_EQ(focus(), field("txtCall"));
}

TEST_F(LogCommandsTest, HeaderClickSortsOnceByText)
{
    writeLog(contactLines(11));
    start();
    list()->horizontalHeader()->sectionClicked(1);
    list()->horizontalHeader()->sectionClicked(0);
    const QStringList recs = column(0);
    EXPECT_EQ(recs.mid(0, 4), (QStringList{"1", "10", "11", "2"}));
}

TEST_F(LogCommandsTest, EditAndDeleteButtonsAppearForAListedRowOnly)
{
    start();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton);
    EXPECT_FALSE(button("cmdEdit")->isVisible());

    form.reset();
    writeLog(contactLines(3));
    start();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualRect(list()->model()->index(0, 1)).center());
    EXPECT_TRUE(button("cmdEdit")->isVisible());
    EXPECT_TRUE(button("cmdDelete")->isVisible());
    field("txtCall")->setFocus();
    EXPECT_FALSE(button("cmdEdit")->isVisible());
}

TEST_F(LogCommandsTest, EditRewritesTheLineAndReloads)
{
    writeLog(contactLines(3));
    start();
    runModal = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("Text1")->setText("40");
        static_cast<EditContactDialog&>(dialog).cmdDone_Click();
        return 1;
    };
    selectRecord(2);
    QTest::mouseClick(button("cmdEdit"), Qt::LeftButton);
    const QList<QByteArray> lines = logBytes().split('\n');
    EXPECT_TRUE(lines[1].contains("\"CW\",\"40\""));
    EXPECT_TRUE(lines[0].contains("\"CW\",\"20\""));
    EXPECT_EQ(form->store().at(2).band(), "40");

    // Closed without Done: nothing changes, but the log is still written back whole.
    runModal = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("Text1")->setText("80");
        dialog.reject();
        return 0;
    };
    const QByteArray before = logBytes();
    selectRecord(2);
    form->cmdEdit_Click();
    EXPECT_EQ(logBytes(), before);
}

TEST_F(LogCommandsTest, DeleteRenumbersAndRecountsAfterConfirmation)
{
    writeLog(contactLines(10));
    start();
    selectRecord(3);
    dialogs.messageAnswers.push_back(MsgAnswer::No);
    form->cmdDelete_Click();
    EXPECT_EQ(form->store().count(), 10);

    selectRecord(3);
    dialogs.messageAnswers.push_back(MsgAnswer::Yes);
    form->cmdDelete_Click();
    EXPECT_EQ(dialogs.messages.back().title, "Are you sure?");
    EXPECT_EQ(form->store().count(), 9);
    EXPECT_EQ(form->store().at(3).call(), "K4ABC");
    EXPECT_EQ(logBytes().count('\n'), 9);

    // Removing the only Connecticut contact gives its label the not-worked colour back.
    EXPECT_EQ(label("Label15")->text(), "States / Provinces Worked: 2");
    selectRecord(1);
    dialogs.messageAnswers.push_back(MsgAnswer::Yes);
    form->cmdDelete_Click();
    EXPECT_EQ(label("Label15")->text(), "States / Provinces Worked: 1");
    EXPECT_FALSE(form->store().worked(1));
}

TEST_F(LogCommandsTest, CopyPutsTheListedRowsOldestFirstOnTheClipboard)
{
    start();
    action("mnuCopyListtoClipboard")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Rec#\tCall\tName\tAge\tQTH\tOther\tDate/Time\tBnd\tMode\r\n");

    form.reset();
    writeLog(contactLines(2));
    start();
    action("mnuCopyListtoClipboard")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "Rec#\tCall\tName\tAge\tQTH\tOther\tDate/Time\tBnd\tMode\r\n"
              "1\tK1ABC\tANN\t12\tCT\t\t06/13 18:00\t20\tCW\r\n"
              "2\tK2ABC\tANN\t12\tMA\t\t06/13 18:00\t20\tCW\r\n");
}

TEST_F(LogCommandsTest, CloseBacksUpOnlyWhenTheLogChanged)
{
    QDir(dir.path()).mkpath("data/BACKUP");
    writeLog(contactLines(2));
    start();
    form->close();
    EXPECT_TRUE(backups().isEmpty());

    form.reset();
    start();
    type("w1aw tom 12 ct");
    key(Qt::Key_Return);
    form->close();
    EXPECT_EQ(backups(), QStringList{"202606131405.log"});
}

TEST_F(LogCommandsTest, NewLogNeedsYesAndBacksUpFirst)
{
    writeLog(contactLines(2));
    start();
    type("w1aw tom 12 ct");
    key(Qt::Key_Return);
    dialogs.inputAnswers.push_back(QString("no"));
    action("mnuNew")->trigger();
    EXPECT_EQ(form->store().count(), 3);

    dialogs.inputAnswers.push_back(QString("Yes"));
    action("mnuNew")->trigger();
    EXPECT_EQ(form->store().count(), 0);
    EXPECT_TRUE(logBytes().isEmpty());
    EXPECT_EQ(backups(), QStringList{"202606131405.log"});
}

TEST_F(LogCommandsTest, ArchiveAndRestore)
{
    writeLog(contactLines(2));
    start();
    form->prefs().ownCall = "W1AW";
    const QString archived = dir.filePath("kept.log");
    dialogs.fileAnswers.push_back(archived);
    action("mnuArchive")->trigger();
    EXPECT_EQ(dialogs.messages.back().title, "Archive Information");
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "W1AW2026-06-13.log");
    EXPECT_EQ(dialogs.fileRequests[0].filter, "Log Files (*.log) | *.log");
    QFile copy(archived);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), logBytes());

    // Restore over a changed log, after confirming.
    type("w1aw tom 12 ct");
    key(Qt::Key_Return);
    dialogs.messageAnswers.push_back(MsgAnswer::Ok);
    dialogs.messageAnswers.push_back(MsgAnswer::Yes);
    dialogs.fileAnswers.push_back(archived);
    action("mnuRestore")->trigger();
    EXPECT_EQ(form->store().count(), 2);

    // A file that is no log is refused and the working log stays.
    QFile junk(dir.filePath("junk.log"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not \"a\" log\r\n");
    junk.close();
    const QByteArray before = logBytes();
    dialogs.messageAnswers.push_back(MsgAnswer::Ok);
    dialogs.messageAnswers.push_back(MsgAnswer::Yes);
    dialogs.fileAnswers.push_back(dir.filePath("junk.log"));
    action("mnuRestore")->trigger();
    EXPECT_EQ(dialogs.messages.back().title, "Error Restoring Log");
    EXPECT_EQ(logBytes(), before);
    EXPECT_TRUE(endedWith.empty());
}

TEST_F(LogCommandsTest, RestoreKeepsACopyOfTheLogItReplaces)
{
    writeLog(contactLines(2));
    start();
    type("w1aw tom 12 ct");
    key(Qt::Key_Return);
    const QByteArray replaced = logBytes();
    QFile archived(dir.filePath("kept.log"));
    ASSERT_TRUE(archived.open(QIODevice::WriteOnly));
    archived.write(contactLines(1));
    archived.close();

    dialogs.messageAnswers.push_back(MsgAnswer::Ok);
    dialogs.messageAnswers.push_back(MsgAnswer::Yes);
    dialogs.fileAnswers.push_back(dir.filePath("kept.log"));
    action("mnuRestore")->trigger();
    EXPECT_EQ(form->store().count(), 1);
    ASSERT_EQ(backups(), QStringList{"202606131405.log"});
    QFile copy(dir.filePath("data/BACKUP/202606131405.log"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), replaced);
}
