// The main window's commands on the log as a whole: edit and delete a listed contact, copy the
// list, new log, backup, archive and restore.
#include "ui/main/MainWindow.h"
#include "ui/main/MainScreen.h"

#include "core/LogArchive.h"
#include "core/LogFile.h"
#include "platform/Dialogs.h"
#include "ui/main/RecentContactsModel.h"
#include "ui/main/EditContactDialog.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace cubwave {

int MainWindow::runModal(QDialog& dialog)
{
    return services_.runModal ? services_.runModal(dialog) : dialog.exec();
}

void MainWindow::listRowsShown()
{
    // The buttons act on the selected row, so they show only with one.
    if (selectedRecord() != 0) {
        screen_->editButton->show();
        screen_->deleteButton->show();
    }
}

void MainWindow::hideEditButtonsWithoutSelection()
{
    if (selectedRecord() == 0) {
        screen_->editButton->hide();
        screen_->deleteButton->hide();
    }
}

int MainWindow::selectedRecord() const
{
    const QModelIndexList selected = screen_->recentList->selectionModel()->selectedRows();
    if (selected.isEmpty() || selected.first().row() >= screen_->recentModel->rowCount())
        return 0;
    const int recNo = screen_->recentModel->recordNumbers().at(static_cast<size_t>(selected.first().row()));
    return recNo >= 1 && recNo <= session_.store().count() ? recNo : 0;
}

void MainWindow::logNotLoaded(const QString& why, const QString& fix)
{
    session_.markNotLoaded(why, fix);
}

bool MainWindow::logWritable(const QString& refused)
{
    if (session_.logLoaded())
        return true;
    // Writing log.txt from a store that does not hold what the file holds would lose contacts.
    services_.dialogs.message(QStringLiteral("Log Not Loaded"),
                              refused + QStringLiteral("  log.txt has not been loaded, so nothing is written to it: ") +
                                  session_.notLoadedWhy() + QStringLiteral("\n\n") + session_.notLoadedFix(),
                              MsgButtons::Ok, MsgIcon::Warning);
    return false;
}

void MainWindow::rewriteAndReload()
{
    const WriteResult written = session_.rewriteLog();
    if (!written.ok) {
        // The reload below brings the store back to what the file still holds.
        services_.dialogs.message(QStringLiteral("Error Saving Log"),
                                  QStringLiteral("The log could not be rewritten in %1:  %2\n\nThe change was not saved.")
                                      .arg(QDir::toNativeSeparators(logPath()), written.error),
                                  MsgButtons::Ok, MsgIcon::Critical);
    }
    mnuOpen2();
}

void MainWindow::cmdEdit_Click()
{
    const int recNo = selectedRecord();
    if (recNo == 0 || !logWritable(QStringLiteral("The contact was not changed.")))
        return;
    {
        EditContactDialog window(session_.store().at(recNo), services_.dialogs, services_.beeper, &prefixTable_, this);
        runModal(window);
        if (window.stored())
            session_.store().at(recNo) = window.record();
    }
    RecentListRefresh();
    screen_->editButton->hide();
    screen_->deleteButton->hide();
    rewriteAndReload();
}

void MainWindow::cmdDelete_Click()
{
    const int recNo = selectedRecord();
    if (recNo == 0) {
        screen_->editButton->hide();
        screen_->deleteButton->hide();
        return;
    }
    if (!logWritable(QStringLiteral("The contact was not deleted.")))
        return;
    const MsgAnswer answer = services_.dialogs.message(QStringLiteral("Are you sure?"), QStringLiteral("Are you sure?"),
                                                       MsgButtons::YesNo, MsgIcon::Question);
    screen_->editButton->hide();
    screen_->deleteButton->hide();
    if (answer != MsgAnswer::Yes)
        return;
    session_.store().remove(recNo);
    rewriteAndReload();
}

void MainWindow::mnuCopyListtoClipboard_Click()
{
    QString text;
    for (int c = 0; c < RecentContactsModel::kColumns; ++c) {
        text += screen_->recentModel->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        text += c + 1 < RecentContactsModel::kColumns ? QStringLiteral("\t") : QStringLiteral("\r\n");
    }
    // From the last row shown up to the first, so the oldest listed contact comes first.
    for (int row = screen_->recentModel->rowCount() - 1; row >= 0; --row) {
        for (int c = 0; c < RecentContactsModel::kColumns; ++c) {
            text += screen_->recentModel->cellText(row, c);
            text += c + 1 < RecentContactsModel::kColumns ? QStringLiteral("\t") : QStringLiteral("\r\n");
        }
    }
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setText(text);
    }
}

bool MainWindow::newLogCommand()
{
    const std::optional<QString> answer =
        services_.dialogs.input(LogArchive::kNewLogTitle, LogArchive::kNewLogPrompt, QString());
    if (answer && LogArchive::confirmsNewLog(*answer)) {
        const WriteResult emptied = LogArchive(services_.clock, services_.workDir, services_.dataFolder).startNewLog();
        if (emptied.ok) {
            opClock_.setAccumulatedSeconds(0);
            session_.prefs().operatingSeconds = 0;
            SavePref();
        } else {
            services_.dialogs.message(LogArchive::kNewLogErrorTitle,
                                      QStringLiteral("The log was not erased:  ") + emptied.error, MsgButtons::Ok,
                                      MsgIcon::Critical);
        }
    }
    screen_->operatingTimeLabel->setText(OperatingClock::display(opClock_.accumulatedSeconds()));
    return mnuOpen2();
}

void MainWindow::Backup()
{
    if (!session_.logLoaded()) {
        // Only a store that once held the file's contacts has anything worth a word here.
        if (session_.store().count() > 0)
            logWritable(QStringLiteral("The log was not backed up."));
        return;
    }
    // A failed backup must not stop the program from closing; the log itself is untouched.
    LogArchive(services_.clock, services_.workDir, services_.dataFolder).backup(session_.store());
}

void MainWindow::mnuArchive_Click()
{
    const LogArchive archive(services_.clock, services_.workDir, services_.dataFolder);
    services_.dialogs.message(LogArchive::kArchiveInfoTitle, LogArchive::kArchiveInfoText);
    const QString suggested = archive.suggestedArchivePath(session_.prefs().ownCall);
    const std::optional<QString> target = services_.dialogs.saveFile(
        {QStringLiteral("Archive Current Log"), archive.backupFolder(), QFileInfo(suggested).fileName(),
         LogArchive::kFileFilter});
    if (!target)
        return;
    const WriteResult copied = archive.archiveTo(*target);
    if (!copied.ok)
        services_.dialogs.message(LogArchive::kArchiveErrorTitle, copied.error, MsgButtons::Ok, MsgIcon::Critical);
}

void MainWindow::mnuRestore_Click()
{
    if (!logWritable(QStringLiteral("Nothing was restored.")))
        return;
    const LogArchive archive(services_.clock, services_.workDir, services_.dataFolder);
    services_.dialogs.message(LogArchive::kRestoreInfoTitle, LogArchive::kRestoreInfoText);
    if (session_.store().count() >= 1 &&
        services_.dialogs.message(LogArchive::kRestoreConfirmTitle, LogArchive::kRestoreConfirmText, MsgButtons::YesNo,
                                  MsgIcon::Question) != MsgAnswer::Yes)
        return;
    const std::optional<QString> source = services_.dialogs.openFile(
        {QStringLiteral("Restore from Archive or Backup"), archive.backupFolder(), QString(), LogArchive::kFileFilter});
    if (!source)
        return;
    const WriteResult copied = archive.restoreFrom(*source);
    if (!copied.ok) {
        services_.dialogs.message(LogArchive::kRestoreErrorTitle, copied.error, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    mnuOpen2();
}

}  // namespace cubwave
