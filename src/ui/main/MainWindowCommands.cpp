// The main window's load sequence, what it shows on the session's signals, band and mode, its own
// menu commands and the close sequence.
#include "ui/main/MainWindow.h"
#include "ui/main/MainScreen.h"

#include "core/BandSelection.h"
#include "core/Statistics.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "ui/common/ClickableLabel.h"
#include "ui/main/EntryLine.h"
#include "ui/main/LogCommands.h"
#include "ui/main/MainMenus.h"
#include "ui/main/RecentContactsModel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QScopedValueRollback>

namespace cubwave {

namespace {

// A number written with a leading blank, as the status texts show counts.
QString withLeadingBlank(long long n) { return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n); }

// The load's error box: its fixed text first, then why the load stopped and what gets it going,
// since the box is what the operator reads.
QString loadErrorText(const QString& why, const QString& fix)
{
    return QStringLiteral("Error opening file\n\n") + why + QStringLiteral("\n\n") + fix;
}

}  // namespace

QString MainWindow::logPath() const { return session_.logPath(); }

QString MainWindow::prefPath() const { return session_.prefPath(); }

bool MainWindow::listPrevious() const { return session_.listPrevious(); }

bool MainWindow::loadWindow()
{
    const QScopedValueRollback<bool> loading(loading_, true);
    screen_->newLabel->hide();
    session_.prefs().windowSizePct = 100;
    setStatus(QStringLiteral("Ready to begin!"));
    session_.partialDupDisplay = true;
    const QString folder = QDir::toNativeSeparators(services_.workDir);
    const QString restart = QStringLiteral("Close this program, %1, and start it again.");

    if (!session_.readPreferences()) {
        return stopLoading(
            QStringLiteral("the start-up stopped because cubwavepref.txt in %1 is missing or cannot be read.").arg(folder),
            restart.arg(QStringLiteral("copy the cubwavepref.txt that comes with it into that folder")));
    }

    opClock_.setAccumulatedSeconds(session_.prefs().operatingSeconds);
    ApplyFormSize();
    utcOffsetCheck();
    checkSavedBandAndMode();
    if (endRequested_)
        return false;
    QString tableProblem;
    if (!loadPrefixTable(tableProblem)) {
        setStatus(QStringLiteral("The start-up stopped: ") + tableProblem + QLatin1Char('.'));
        return stopLoading(QStringLiteral("the start-up stopped because the prefix table %1.").arg(tableProblem),
                           restart.arg(QStringLiteral("replace arrlpre2.txt with the one that comes with it")));
    }
    mnuSetup_Click();
    showClocks();
    if (endRequested_)
        return false;

    if (!SavePref()) {
        return stopLoading(
            QStringLiteral("the start-up stopped because cubwavepref.txt in %1 could not be saved.").arg(folder),
            restart.arg(QStringLiteral("free some disk space or make that folder writable")));
    }
    if (!openExistingLogQuestion())
        return false;
    screen_->editButton->hide();
    screen_->deleteButton->hide();
    QString why;
    if (!ports_.voice.readMessageList(why)) {
        // The log is loaded and stays writable; only the rest of the start-up is skipped.
        const QString stopped = QStringLiteral("The start-up stopped: %1.").arg(why);
        const QString fix = QStringLiteral("Copy the wave2.txt that comes with the program into %1.").arg(folder);
        setStatus(stopped + QStringLiteral("  ") + fix);
        services_.dialogs.message(QStringLiteral("Error opeining file"), loadErrorText(stopped, fix));
        return false;
    }
    entryLine_->focusCall();
    FitToScreen();
    ports_.rig.openAtStartup(session_.prefs().rigModel);
    // After the rig: the stored spot connection comes back as the operator left it.
    ports_.spots.openAtStartup();
    return true;
}

bool MainWindow::stopLoading(const QString& why, const QString& fix)
{
    session_.markNotLoaded(why, fix);
    QString sentence = why;
    if (!sentence.isEmpty())
        sentence[0] = sentence[0].toUpper();
    services_.dialogs.message(QStringLiteral("Error opeining file"), loadErrorText(sentence, fix));
    return false;
}

void MainWindow::requestEnd()
{
    if (!loading_) {
        // Refusing would drop the request and invite a kill without a backup: the sending
        // stops instead, and the window closes once the character on the air has ended.
        if (ports_.cw.busy()) {
            ports_.cw.clear();
            if (ports_.cw.busy()) {
                closeAfterSending_ = true;
                return;
            }
        }
        close();
        return;
    }
    endRequested_ = true;
    session_.markNotLoaded(QStringLiteral("the program was asked to end during its start-up."),
                           QStringLiteral("Start it again."));
    closeActiveDialog();
}

void MainWindow::closeActiveDialog()
{
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        dialog->reject();
}

bool MainWindow::openExistingLogQuestion()
{
    const MsgAnswer answer = services_.dialogs.message(
        QStringLiteral("Open existing log?"),
        QStringLiteral("Do you want to continue an existing contest? (Yes opens your existing log, No erases "
                       "any existing log and starts a new log.)"),
        MsgButtons::YesNo, MsgIcon::Question);
    // An answer forced by the end of the program is no answer: neither load nor erase.
    if (endRequested_)
        return false;
    if (answer == MsgAnswer::Yes)
        return mnuOpen2();
    return logCommands_->newLog();
}

bool MainWindow::SavePref() { return session_.savePreferences(); }

void MainWindow::preferencesNotSaved(const QString& path, const QString& error)
{
    services_.dialogs.message(QStringLiteral("Error saving preferences"),
                              QStringLiteral("Could not write %1:  %2").arg(path, error), MsgButtons::Ok,
                              MsgIcon::Warning);
}

bool MainWindow::mnuOpen2() { return session_.reloadLog(); }

void MainWindow::showReloadedLog()
{
    RecentListRefresh();
    showRates();
    ListRefresh();
    recolourMultipliers();
    Labeldisplay();
    if (session_.store().dxListOverflowed())
        setStatus(QStringLiteral("The DX list is full: it shows the first %1 DX entries of the log.").arg(LogStore::kDxCapacity));
}

void MainWindow::fileError()
{
    services_.dialogs.message(
        QStringLiteral("File Error"),
        QStringLiteral("Error opening file.  This error is annoying but probably correctable.  In all likelihood, a "
                       "character such as a quote got into your data or one of your entries has an invalid "
                       "date/time format.  Close this program and open log.txt in the program's working directory "
                       "with a text editor such as notepad.  Inspect the data and fix any errors you see (remove "
                       "any extra quotes and make sure your date and time entries are valid).") +
            QStringLiteral("\n\n") + session_.logReadProblem(),
        MsgButtons::Ok, MsgIcon::Critical);
    services_.endProgram(1);
}

void MainWindow::RecentListRefresh() { screen_->recentModel->showNewest(session_.listAll); }

QString MainWindow::dxHeading() const { return Statistics::dxHeading(session_.store().dxCount()); }

void MainWindow::ListRefresh() { screen_->showDxList(session_.store().dxList(), dxHeading()); }

void MainWindow::Labeldisplay()
{
    const Statistics::Totals totals = Statistics::totals(session_.store());
    screen_->showTotals(totals.contacts, totals.phone, totals.cw, totals.score);
}

void MainWindow::recolourMultipliers()
{
    const Preferences& prefs = session_.prefs();
    for (int i = 1; i <= SpcTable::kSize; ++i)
        screen_->showMultiplier(i, session_.store().worked(i) ? prefs.workedColour : prefs.notWorkedColour);
    screen_->showWorkedLine(Statistics::statesWorkedText(session_.store().workedCount()));
}

void MainWindow::spcWorkedUpdate(int i)
{
    screen_->showMultiplier(i, session_.prefs().workedColour);
    screen_->showWorkedLine(Statistics::statesWorkedText(session_.store().workedCount()));
}

void MainWindow::label10Hover(int index)
{
    const ClickableLabel* label = screen_->multiplierLabels[static_cast<size_t>(index)];
    int count = 0;
    for (const QsoRecord& r : session_.store().records())
        count += r.spc().compare(label->text(), Qt::CaseInsensitive) == 0 ? 1 : 0;
    screen_->showHint(QStringLiteral("  ") + label->toolTip() + QStringLiteral("    Total =") + withLeadingBlank(count),
                      8.0, session_.prefs().windowSizePct);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event)
{
    screen_->dupeLabel->setText(QString());
    QMainWindow::mouseMoveEvent(event);
}

// ---- band and mode ----

void MainWindow::bandCommand(const QString& band) { session_.setBand(band); }

void MainWindow::BandFreqConversion(float frequencyMHz) { session_.reportFrequency(frequencyMHz); }

void MainWindow::ModeSelection(const QString& mode) { session_.reportMode(mode); }

void MainWindow::modeCommand(const QString& mode) { session_.setMode(mode); }

void MainWindow::checkSavedBandAndMode()
{
    menus_->showSessionSettings();
    screen_->bandLabel->setText(session_.prefs().band);
}

void MainWindow::label24Click()
{
    if (const std::optional<QString> next = BandSelection::nextBandOnClick(session_.prefs().band))
        bandCommand(*next);
}

// ---- menus ----

void MainWindow::mnuRSTDefault_Click()
{
    session_.prefs().defaultRst = services_.dialogs
                            .input(QStringLiteral("Default RST"), QStringLiteral("Please enter the default RST value."),
                                   session_.prefs().defaultRst)
                            .value_or(QString());
    SavePref();
}

void MainWindow::mnuWriteSumm_Click()
{
    if (session_.prefs().ownCall.size() < 3) {
        services_.dialogs.message(QStringLiteral("Call Sign Required!"), QStringLiteral("Please enter your call in setup."));
        return;
    }
    ports_.exports.writeSummary(session_.store(), session_.prefs(), windowTitle(), this);
}

void MainWindow::mnuExit_Click()
{
    stopOperatingClock();
    services_.endProgram(0);
}

void MainWindow::stopOperatingClock()
{
    if (!opClock_.running())
        return;
    opClock_.stop(services_.clock.localNow());
    session_.prefs().operatingSeconds = opClock_.accumulatedSeconds();
    SavePref();
}

// ---- close sequence ----

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Never close in the middle of sending CW: the waiting text goes, the character on the air
    // finishes, and the operator closes again.
    ports_.cw.clear();
    if (ports_.cw.busy()) {
        event->ignore();
        return;
    }
    unloadSubsystems();
    logCommands_->backup();
    // Form_Terminate.
    stopOperatingClock();
    event->accept();
}

void MainWindow::unloadSubsystems()
{
    ports_.voice.unload();
    ports_.cw.unload();
    ports_.voice.unloadCues();
    ports_.rig.unload();
    ports_.spots.unload();
    ports_.windows.unload(WindowLauncher::Window::SpectrumMap);
    ports_.windows.unload(WindowLauncher::Window::CwStrings);
    ports_.cw.unloadWinKey();
    // Whatever a subsystem left behind, no transmitter stays keyed.
    ports_.cw.releaseAll();
    ports_.voice.releaseAll();
}

}  // namespace cubwave
