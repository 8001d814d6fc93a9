// The commit of the entry line, and the keys the window hands on to the entry line.
#include "ui/main/MainWindow.h"
#include "ui/main/MainScreen.h"

#include "platform/Beeper.h"
#include "platform/Dialogs.h"
#include "ui/common/VbColor.h"
#include "ui/main/EntryLine.h"
#include "ui/main/KeyPipeline.h"
#include "ui/main/LogCommands.h"
#include "ui/main/WindowKeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QScopedValueRollback>

namespace cubwave {

bool MainWindow::postContestMode() const { return session_.postContestMode; }

void MainWindow::beep() { services_.beeper.beep(); }

void MainWindow::setStatus(const QString& text) { screen_->statusLabel->setText(text); }

// Repaints and timers may run; the operator's keys and clicks wait until the step is over.
void MainWindow::doEvents() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

void MainWindow::Form_KeyDown(int& keyCode, int shift) { windowKeys_->keyDown(keyCode, shift); }

void MainWindow::Form_KeyPress(int& keyAscii) { windowKeys_->keyPress(keyAscii); }

bool MainWindow::fieldKeyPress(QWidget* field, int& keyAscii) { return entryLine_->keyPress(field, keyAscii); }

void MainWindow::cmdClear_Click() { entryLine_->clear(); }

void MainWindow::commitContact()
{
    // A commit is one step: an Enter that arrives while it runs (from a key the program posted,
    // say) starts no second commit on the same fields.
    if (committing_)
        return;
    {
        const QScopedValueRollback<bool> busy(committing_, true);
        commitEntryLine();
    }
    // Keys typed meanwhile start the next contact, in the cleared entry line.
    keyPipeline_->replayHeldKeys();
}

void MainWindow::commitEntryLine()
{
    if (postContestMode() && !entryLine_->postContestTimeValid())
        return;
    if (entryLine_->checkComplete() && !storeContact())
        return;  // nothing stored: the operator still has the contact in the fields
    doEvents();
    entryLine_->clearDupeDisplay();
    showRates();
    session_.clearFrequency();
}

bool MainWindow::storeContact()
{
    const ContestSession::StoreOutcome outcome = session_.storeContact(entryLine_->values());
    switch (outcome.kind) {
    case ContestSession::StoreOutcome::Kind::Stored: break;
    case ContestSession::StoreOutcome::Kind::LogNotLoaded:
        logCommands_->logWritable(QStringLiteral("The contact was not saved."));
        beep();
        setStatus(QStringLiteral("Contact NOT saved!"));
        return false;
    case ContestSession::StoreOutcome::Kind::LogFull:
        beep();
        setStatus(QStringLiteral("The log is full: no room for more contacts!"));
        return false;
    case ContestSession::StoreOutcome::Kind::WriteFailed:
        beep();
        services_.dialogs.message(QStringLiteral("File Error"),
                                  QStringLiteral("Could not write %1:  %2\n\n"
                                                 "The contact was not saved; it is still in the entry line.  "
                                                 "Free some disk space, or make the file and its folder "
                                                 "writable, then press Enter again.")
                                      .arg(QDir::toNativeSeparators(session_.logPath()), outcome.error),
                                  MsgButtons::Ok, MsgIcon::Critical);
        setStatus(QStringLiteral("Contact NOT saved!"));
        return false;
    }
    setBackColour(screen_->statusLabel, kTeal);
    setStatus(QString());
    doEvents();
    entryLine_->clearAfterStore();
    return true;
}

void MainWindow::showAddedContact(int recNo, bool newDx, int workedIndex)
{
    RecentListRefresh();
    if (newDx)
        screen_->addDx(session_.store().at(recNo).spc(), dxHeading());
    if (workedIndex != 0)
        spcWorkedUpdate(workedIndex);
    Labeldisplay();
}

}  // namespace cubwave
