// The entry line of the main window: each field's keystroke rules, focus rules and the commit.
#include "ui/common/Caret.h"
#include "ui/main/MainWindow.h"
#include "ui/main/MainScreen.h"

#include "core/ContactTime.h"
#include "core/KeyCodes.h"
#include "core/LogFile.h"
#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "ui/common/ClickableLabel.h"
#include "ui/main/KeyPipeline.h"
#include "ui/main/RecentContactsModel.h"
#include "ui/common/VbColor.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableView>

namespace cubwave {

QLineEdit* MainWindow::edit(Field field) const { return screen_->fields[static_cast<size_t>(field)]; }

std::optional<MainWindow::Field> MainWindow::fieldOf(QWidget* widget) const
{
    for (size_t i = 0; i < screen_->fields.size(); ++i) {
        if (screen_->fields[i] == widget)
            return static_cast<Field>(i);
    }
    return std::nullopt;
}

bool MainWindow::postContestMode() const { return session_.postContestMode; }

void MainWindow::beep() { services_.beeper.beep(); }

void MainWindow::setStatus(const QString& text) { screen_->statusLabel->setText(text); }

// Repaints and timers may run; the operator's keys and clicks wait until the step is over.
void MainWindow::doEvents() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

void MainWindow::sendTab()
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(focus, &tab);
}

bool MainWindow::fieldKeyPress(QWidget* widget, int& key)
{
    const std::optional<Field> field = fieldOf(widget);
    if (!field)
        return false;
    switch (*field) {
    case Field::Call: txtCall_KeyPress(key); break;
    case Field::Name: txtName_KeyPress(key); break;
    case Field::Age: txtRSTR_KeyPress(key); break;
    case Field::Spc: txtCntry_KeyPress(key); break;
    case Field::Other: txtSec_KeyPress(key); break;
    case Field::PostTime:
    case Field::PostDate: postContest_KeyPress(*field, key); break;
    }
    if (key != 0)
        insertKey(edit(*field), key);
    return true;
}

void MainWindow::insertKey(QLineEdit* field, int key)
{
    if (key == key::Backspace)
        field->backspace();
    else if (key >= key::Space)
        field->insert(QString(QChar(key)));
}

void MainWindow::handOver(Field to, int key)
{
    // The receiving field starts afresh with the key, run through its own rules.
    QLineEdit* target = edit(to);
    target->setText(QString());
    target->setFocus(Qt::OtherFocusReason);
    fieldKeyPress(target, key);
}

bool MainWindow::enterCommits(int& key)
{
    if (key != key::Enter)
        return false;
    key = 0;
    commitContact();
    return true;
}

void MainWindow::txtCall_KeyPress(int& key)
{
    QLineEdit* call = edit(Field::Call);
    screen_->statusLabel->setText(QString());
    screen_->dupeLabel->setText(QString());
    QFont f = screen_->dupeLabel->font();
    f.setPointSizeF(std::max(4.0, screenWidthTwips() * 9.0 / 9600.0 * session_.prefs().windowSizePct / 100.0));
    screen_->dupeLabel->setFont(f);
    if (call->text().size() < 2) {
        edit(Field::Spc)->setText(QString());
        screen_->continentLabel->setText(QString());
        screen_->bearingLabel->setText(QString());
        screen_->distanceLabel->setText(QString());
    }
    if (key == key::Quote)
        key = 0;
    if (call->text().size() < 3 && opClock_.running())
        setStatus(QStringLiteral(" "));
    if (enterCommits(key))
        return;
    if (key == key::Space) {
        key = 0;
        edit(Field::Name)->setFocus(Qt::OtherFocusReason);
        return;
    }
    capital(key);
    partialDupSearch(key);
}

void MainWindow::txtName_KeyPress(int& key)
{
    if (key == key::Quote)
        key = 0;
    if (enterCommits(key))
        return;
    if (key == key::Space) {
        key = 0;
        edit(Field::Age)->setFocus(Qt::OtherFocusReason);
        return;
    }
    capital(key);
    if (key >= '0' && key <= '9') {
        const int digit = key;
        key = 0;
        handOver(Field::Age, digit);
    }
}

void MainWindow::txtRSTR_KeyPress(int& key)
{
    if (key > '9') {
        int letter = key;
        key = 0;
        capital(letter);
        handOver(Field::Spc, letter);
        return;
    }
    if (enterCommits(key))
        return;
    if (key == key::Space) {
        key = 0;
        edit(Field::Spc)->setFocus(Qt::OtherFocusReason);
        return;
    }
    numberOnly(key);
}

void MainWindow::txtCntry_KeyPress(int& key)
{
    QLineEdit* spc = edit(Field::Spc);
    if (key == key::Quote)
        key = 0;
    if (enterCommits(key))
        return;
    int caret = caretOf(spc);
    if (key == key::Space && caret == 0) {
        key = 0;
        edit(Field::Other)->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Typing at the start replaces the whole entry, a looked-up country name included.
    if (key >= key::Space && key != key::Space && caret == 0)
        spc->setText(QString());
    if (spc->text().isEmpty() || caret < 2)
        capital(key);
    if (key >= key::Space && key != key::Space && caret == 2 && spc->text().size() >= 2 && !spc->hasSelectedText()) {
        // A name typed in capitals reads capitalised: "CA" then "n" continues as "Can".
        QString text = spc->text();
        text[1] = text[1].toLower();
        spc->setText(text);
        spc->setCursorPosition(2);
    }
    caret = caretOf(spc);
    if (key > key::Space && spc->text().size() >= 2) {
        const QString typed = spc->text().left(caret) + QChar(key);
        if (std::optional<CountryCompletion> done = completeCountry(typed)) {
            key = 0;
            spc->setText(typed + done->rest);
            spc->setSelection(typed.size(), done->rest.size());
            screen_->continentLabel->setText(done->continent);
            showBearing(done->latitude, done->longitude);
            return;
        }
    }
    if (key == key::Space && !(spc->text().size() == 1 && caret == 1)) {
        key = 0;
        edit(Field::Other)->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::txtSec_KeyPress(int& key)
{
    QLineEdit* other = edit(Field::Other);
    if (key == key::Quote)
        key = 0;
    if (enterCommits(key))
        return;
    if (caretOf(other) == 0) {
        if (key == key::Space) {
            key = 0;
            sendTab();
            return;
        }
        capital(key);
    }
}

void MainWindow::postContest_KeyPress(Field field, int& key)
{
    if (key == key::Space) {
        key = 0;
        sendTab();
        return;
    }
    if (enterCommits(key))
        return;
    const bool digit = key >= '0' && key <= '9';
    const int separator = field == Field::PostTime ? ':' : '/';
    if (!(digit || key == separator || key == key::Backspace))
        key = 0;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (!screen_)  // the screen's controls are being built
        return QMainWindow::eventFilter(watched, event);
    if (watched == screen_->recentList && event->type() == QEvent::FocusOut)
        listRowsShown();
    if (watched == screen_->recentList->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && screen_->recentModel->rowCount() > 0) {
        // A right click edits the row under the mouse.
        const QModelIndex at = screen_->recentList->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (at.isValid())
            screen_->recentList->setCurrentIndex(at);
        cmdEdit_Click();
        return true;
    }
    const auto field = fieldOf(qobject_cast<QWidget*>(watched));
    if (field && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // A window losing or regaining the activation moves no focus between fields.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (event->type() == QEvent::FocusIn)
                fieldGotFocus(*field);
            else if (*field == Field::Call)
                txtCall_LostFocus();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fieldGotFocus(Field field)
{
    const int level = session_.prefs().voiceNavLevel;
    switch (field) {
    case Field::Call:
        if (level > 0)
            ports_.voice.playCue(QStringLiteral("Call"));
        screen_->editButton->hide();
        screen_->deleteButton->hide();
        if (edit(Field::Call)->text().isEmpty() && screen_->recentModel->rowCount() < session_.store().count() &&
            screen_->recentModel->rowCount() < 18)
            RecentListRefresh();
        break;
    case Field::Name:
        if (level >= 2)
            ports_.voice.playCue(QStringLiteral("Name"));
        break;
    case Field::Age:
        if (level >= 2)
            ports_.voice.playCue(QStringLiteral("RstRcvd"));
        break;
    case Field::Spc:
        if (level >= 2)
            ports_.voice.playCue(QStringLiteral("SPC"));
        break;
    case Field::Other:
        if (level >= 2)
            ports_.voice.playCue(QStringLiteral("Power"));
        break;
    case Field::PostTime:
        edit(field)->selectAll();
        break;
    case Field::PostDate:
        if (edit(field)->text().isEmpty()) {
            edit(field)->setText(services_.clock.localNow().date().toString(QStringLiteral("yyyy/MM/dd")));
            edit(field)->selectAll();
        }
        break;
    }
}

void MainWindow::txtCall_LostFocus()
{
    QLineEdit* call = edit(Field::Call);
    if (!call->text().isEmpty())
        checkDuplicates();
    QLineEdit* spc = edit(Field::Spc);
    if (spc->text().isEmpty() && call->text().size() > 2) {
        const QString code = SpcTable::canadianSpcForCall(call->text());
        if (!code.isEmpty()) {
            spc->setText(code);
            spc->setSelection(0, 2);
        }
    }
}

void MainWindow::txtCall_Change()
{
    lookupCall(edit(Field::Call)->text());
    ports_.cw.setCallField(edit(Field::Call)->text());
}

void MainWindow::txtCntry_Change() { updateNewIndicator(); }

bool MainWindow::frmcmp()
{
    if (edit(Field::Call)->text().size() >= 3)
        return true;
    beep();
    setStatus(QStringLiteral("Need Call Sign!"));
    edit(Field::Call)->setFocus(Qt::OtherFocusReason);
    return false;
}

bool MainWindow::spcValidate()
{
    if (SpcTable::find(edit(Field::Spc)->text()) != 0) {
        if (screen_->continentLabel->text().isEmpty())
            screen_->continentLabel->setText(QStringLiteral("NA"));
        return true;
    }
    beep();
    setStatus(QStringLiteral("Invald Section!"));
    edit(Field::Spc)->setFocus(Qt::OtherFocusReason);
    return false;
}

bool MainWindow::postContestCheck()
{
    QLineEdit* dateField = edit(Field::PostDate);
    QLineEdit* timeField = edit(Field::PostTime);
    const QString dateText = dateField->text().trimmed();
    QDate date;
    for (const char* format : {"yyyy/M/d", "yyyy-M-d", "M/d/yyyy", "yyyyMMdd"}) {
        date = QDate::fromString(dateText, QString::fromLatin1(format));
        if (date.isValid())
            break;
    }
    if (!date.isValid()) {
        setStatus(QStringLiteral("Invalid date format!"));
        beep();
        return false;
    }
    dateField->setText(date.toString(QStringLiteral("yyyy/MM/dd")));

    QString timeText = timeField->text().trimmed();
    bool numeric = false;
    timeText.toInt(&numeric);
    if ((timeText.size() == 3 || timeText.size() == 4) && numeric)
        timeText.insert(timeText.size() - 2, QLatin1Char(':'));
    QTime time = QTime::fromString(timeText, QStringLiteral("H:m"));
    if (!time.isValid())
        time = QTime::fromString(timeText, QStringLiteral("H:m:s"));
    if (!time.isValid()) {
        timeField->setText(timeText);
        setStatus(QStringLiteral("Invalid time format!"));
        beep();
        return false;
    }
    timeField->setText(time.toString(QStringLiteral("HH:mm")));
    return true;
}

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
    if (postContestMode() && !postContestCheck())
        return;
    const bool callGiven = frmcmp();
    bool locationValid = true;
    QLineEdit* spc = edit(Field::Spc);
    if (spc->text().size() == 2) {
        spc->setText(spc->text().toUpper());
        locationValid = spcValidate();
    }
    checkDuplicates();
    if (callGiven && locationValid) {
        if (!storeContact())
            return;  // nothing stored: the operator still has the contact in the fields
    }
    doEvents();
    setBackColour(screen_->dupeLabel, kButtonFace);
    screen_->dupeLabel->setText(QString());
    showRates();
    session_.clearFrequency();
}

ContactEntry MainWindow::entryLine() const
{
    return {edit(Field::Call)->text(), edit(Field::Name)->text(),     edit(Field::Age)->text(),
            edit(Field::Spc)->text(),  edit(Field::Other)->text(),    edit(Field::PostDate)->text(),
            edit(Field::PostTime)->text()};
}

bool MainWindow::storeContact()
{
    const ContestSession::StoreOutcome outcome = session_.storeContact(entryLine());
    switch (outcome.kind) {
    case ContestSession::StoreOutcome::Kind::Stored: break;
    case ContestSession::StoreOutcome::Kind::LogNotLoaded:
        logWritable(QStringLiteral("The contact was not saved."));
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
                                  QStringLiteral("The contact could not be written to %1:  %2\n\n"
                                                 "It is still in the entry line.  Free some disk space "
                                                 "or fix the folder, then press Enter again.")
                                      .arg(QDir::toNativeSeparators(session_.logPath()), outcome.error),
                                  MsgButtons::Ok, MsgIcon::Critical);
        setStatus(QStringLiteral("Contact NOT saved!"));
        return false;
    }
    setBackColour(screen_->statusLabel, kTeal);
    screen_->statusLabel->setText(QString());
    doEvents();
    for (Field f : {Field::Call, Field::Name, Field::Age, Field::Spc, Field::Other})
        edit(f)->clear();
    screen_->continentLabel->setText(QString());
    screen_->bearingLabel->setText(QString());
    screen_->distanceLabel->setText(QString());
    edit(Field::Call)->setFocus(Qt::OtherFocusReason);
    return true;
}

void MainWindow::showAddedContact(int recNo, bool newDx, int workedIndex)
{
    RecentListRefresh();
    if (newDx) {
        screen_->dxList->addItem(session_.store().at(recNo).spc());
        screen_->columnHeadings[5]->setText(dxHeading());
    }
    if (workedIndex != 0)
        spcWorkedUpdate(workedIndex);
    Labeldisplay();
}

void MainWindow::cmdClear_Click()
{
    for (Field f : {Field::Call, Field::Name, Field::Age, Field::Spc, Field::Other})
        edit(f)->clear();
    setBackColour(screen_->dupeLabel, kButtonFace);
    setBackColour(screen_->statusLabel, kTeal);
    for (QLabel* l : {screen_->dupeLabel, screen_->statusLabel, screen_->continentLabel, screen_->bearingLabel, screen_->distanceLabel})
        l->setText(QString());
    edit(Field::Call)->setFocus(Qt::OtherFocusReason);
}

}  // namespace cubwave
