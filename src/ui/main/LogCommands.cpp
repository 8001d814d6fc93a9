#include "ui/main/LogCommands.h"

#include "core/ContestSession.h"
#include "core/LogArchive.h"
#include "core/OperatingClock.h"
#include "platform/Dialogs.h"
#include "ui/main/EditContactDialog.h"
#include "ui/main/MainScreen.h"
#include "ui/main/RecentContactsModel.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

namespace cubwave {

LogCommands::LogCommands(Context context, QObject* parent) : QObject(parent), c_(std::move(context))
{
    QTableView* list = c_.screen.recentList;
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    connect(c_.screen.editButton, &QPushButton::clicked, this, &LogCommands::editSelected);
    connect(c_.screen.deleteButton, &QPushButton::clicked, this, &LogCommands::deleteSelected);
    // The buttons act on the selected row, so they show only with one; a list rebuilt or a
    // selection cleared leaves nothing for them to act on.
    connect(list, &QTableView::clicked, this, [this] {
        if (selectedRecord() != 0)
            showEditButtons(true);
    });
    const auto hideWithoutSelection = [this] {
        if (selectedRecord() == 0)
            showEditButtons(false);
    };
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, hideWithoutSelection);
    connect(c_.screen.recentModel, &QAbstractItemModel::modelReset, this, hideWithoutSelection);
}

bool LogCommands::eventFilter(QObject* watched, QEvent* event)
{
    QTableView* list = c_.screen.recentList;
    if (watched == list && event->type() == QEvent::FocusOut && selectedRecord() != 0)
        showEditButtons(true);
    if (watched == list->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && c_.screen.recentModel->rowCount() > 0) {
        // A right click edits the row under the mouse.
        const QModelIndex at = list->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (at.isValid())
            list->setCurrentIndex(at);
        editSelected();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void LogCommands::showEditButtons(bool shown)
{
    c_.screen.editButton->setVisible(shown);
    c_.screen.deleteButton->setVisible(shown);
}

int LogCommands::selectedRecord() const
{
    const QModelIndexList selected = c_.screen.recentList->selectionModel()->selectedRows();
    if (selected.isEmpty() || selected.first().row() >= c_.screen.recentModel->rowCount())
        return 0;
    const int recNo = c_.screen.recentModel->recordNumbers().at(static_cast<size_t>(selected.first().row()));
    return recNo >= 1 && recNo <= c_.session.store().count() ? recNo : 0;
}

bool LogCommands::logWritable(const QString& refused)
{
    if (c_.session.logLoaded())
        return true;
    // Writing log.txt from a store that does not hold what the file holds would lose contacts.
    c_.dialogs.message(QStringLiteral("Log Not Loaded"),
                       refused + QStringLiteral("  log.txt has not been loaded, so nothing is written to it: ") +
                           c_.session.notLoadedWhy() + QStringLiteral("\n\n") + c_.session.notLoadedFix(),
                       MsgButtons::Ok, MsgIcon::Warning);
    return false;
}

void LogCommands::rewriteAndReload()
{
    const WriteResult written = c_.session.rewriteLog();
    if (!written.ok) {
        // The reload below brings the store back to what the file still holds.
        c_.dialogs.message(QStringLiteral("Error Saving Log"),
                           QStringLiteral("Could not write %1:  %2\n\nThe change was not saved.")
                               .arg(QDir::toNativeSeparators(c_.session.logPath()), written.error),
                           MsgButtons::Ok, MsgIcon::Critical);
    }
    c_.session.reloadLog();
}

void LogCommands::editSelected()
{
    const int recNo = selectedRecord();
    if (recNo == 0 || !logWritable(QStringLiteral("The contact was not changed.")))
        return;
    {
        EditContactDialog window(c_.session.store().at(recNo), c_.dialogs, c_.beeper, &c_.prefixes,
                                 c_.dialogParent);
        c_.runModal(window);
        if (window.stored())
            c_.session.store().at(recNo) = window.record();
    }
    c_.screen.recentModel->showNewest(c_.session.listAll);
    showEditButtons(false);
    rewriteAndReload();
}

void LogCommands::deleteSelected()
{
    const int recNo = selectedRecord();
    if (recNo == 0) {
        showEditButtons(false);
        return;
    }
    if (!logWritable(QStringLiteral("The contact was not deleted.")))
        return;
    const MsgAnswer answer = c_.dialogs.message(QStringLiteral("Are you sure?"), QStringLiteral("Are you sure?"),
                                                MsgButtons::YesNo, MsgIcon::Question);
    showEditButtons(false);
    if (answer != MsgAnswer::Yes)
        return;
    c_.session.store().remove(recNo);
    rewriteAndReload();
}

void LogCommands::copyListToClipboard()
{
    const RecentContactsModel& model = *c_.screen.recentModel;
    QString text;
    const auto cell = [&text](int column, const QString& value) {
        text += value;
        text += column + 1 < RecentContactsModel::kColumns ? QStringLiteral("\t") : QStringLiteral("\r\n");
    };
    for (int c = 0; c < RecentContactsModel::kColumns; ++c)
        cell(c, model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    // From the last row shown up to the first, so the oldest listed contact comes first.
    for (int row = model.rowCount() - 1; row >= 0; --row) {
        for (int c = 0; c < RecentContactsModel::kColumns; ++c)
            cell(c, model.cellText(row, c));
    }
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setText(text);
    }
}

bool LogCommands::newLog()
{
    const std::optional<QString> answer = c_.dialogs.input(LogArchive::kNewLogTitle, LogArchive::kNewLogPrompt, QString());
    if (answer && LogArchive::confirmsNewLog(*answer)) {
        const WriteResult emptied = LogArchive(c_.clock, c_.workDir, c_.dataFolder).startNewLog();
        if (emptied.ok) {
            c_.operatingClock.setAccumulatedSeconds(0);
            c_.session.prefs().operatingSeconds = 0;
            c_.session.savePreferences();
        } else {
            c_.dialogs.message(LogArchive::kNewLogErrorTitle, QStringLiteral("The log was not erased:  ") + emptied.error,
                               MsgButtons::Ok, MsgIcon::Critical);
        }
    }
    c_.screen.operatingTimeLabel->setText(OperatingClock::display(c_.operatingClock.accumulatedSeconds()));
    return c_.session.reloadLog();
}

void LogCommands::backup()
{
    if (!c_.session.logLoaded()) {
        // Only a store that once held the file's contacts has anything worth a word here.
        if (c_.session.store().count() > 0)
            logWritable(QStringLiteral("The log was not backed up."));
        return;
    }
    // A failed backup must not stop the program from closing; the log itself is untouched.
    LogArchive(c_.clock, c_.workDir, c_.dataFolder).backup(c_.session.store());
}

void LogCommands::archive()
{
    const LogArchive archive(c_.clock, c_.workDir, c_.dataFolder);
    c_.dialogs.message(LogArchive::kArchiveInfoTitle, LogArchive::kArchiveInfoText);
    const QString suggested = archive.suggestedArchivePath(c_.session.prefs().ownCall);
    const std::optional<QString> target = c_.dialogs.saveFile(
        {QStringLiteral("Archive Current Log"), archive.backupFolder(), QFileInfo(suggested).fileName(),
         LogArchive::kFileFilter});
    if (!target)
        return;
    const WriteResult copied = archive.archiveTo(*target);
    if (!copied.ok)
        c_.dialogs.message(LogArchive::kArchiveErrorTitle, copied.error, MsgButtons::Ok, MsgIcon::Critical);
}

void LogCommands::restore()
{
    if (!logWritable(QStringLiteral("Nothing was restored.")))
        return;
    const LogArchive archive(c_.clock, c_.workDir, c_.dataFolder);
    c_.dialogs.message(LogArchive::kRestoreInfoTitle, LogArchive::kRestoreInfoText);
    if (c_.session.store().count() >= 1 &&
        c_.dialogs.message(LogArchive::kRestoreConfirmTitle, LogArchive::kRestoreConfirmText, MsgButtons::YesNo,
                           MsgIcon::Question) != MsgAnswer::Yes)
        return;
    const std::optional<QString> source = c_.dialogs.openFile(
        {QStringLiteral("Restore from Archive or Backup"), archive.backupFolder(), QString(), LogArchive::kFileFilter});
    if (!source)
        return;
    const WriteResult copied = archive.restoreFrom(*source);
    if (!copied.ok) {
        c_.dialogs.message(LogArchive::kRestoreErrorTitle, copied.error, MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    c_.session.reloadLog();
}

}  // namespace cubwave
