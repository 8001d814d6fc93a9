// The main window's commands: start-up load, log reload, preferences, band and mode, menus,
// window keys and the close sequence.
#include "ui/Form1.h"

#include "core/FileWrite.h"
#include "core/KeyCodes.h"
#include "core/BandSelection.h"
#include "core/LogFile.h"
#include "core/Statistics.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "ui/ClickableLabel.h"
#include "ui/RecentContactsModel.h"
#include "ui/VbColor.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>

namespace cubwave {

namespace {

const QString kPrefFile = QStringLiteral("cubwavepref.txt");
const QString kLogFile = QStringLiteral("log.txt");



// A number written with a leading blank, as the status texts show counts.
QString withLeadingBlank(long long n) { return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n); }


}  // namespace

QString Form1::logPath() const { return QDir(services_.workDir).filePath(kLogFile); }

QString Form1::prefPath() const { return QDir(services_.workDir).filePath(kPrefFile); }

bool Form1::listPrevious() const { return action(QStringLiteral("mnuListPrevious"))->isChecked(); }

bool Form1::loadWindow()
{
    const QScopedValueRollback<bool> loading(loading_, true);
    label3New_->hide();
    prefs_.windowSizePct = 100;
    setStatus(QStringLiteral("Ready to begin!"));
    partialDupOn_ = true;
    const QString folder = QDir::toNativeSeparators(services_.workDir);
    const QString restart = QStringLiteral("Close this program, %1, and start it again.");

    QDir::setCurrent(services_.workDir);
    QFile file(prefPath());
    std::optional<Preferences> read;
    if (file.open(QIODevice::ReadOnly))
        read = PrefFile::parse(file.read(64 * 1024 + 1));
    if (!read) {
        logNotLoaded(QStringLiteral("the start-up stopped because cubwavepref.txt in %1 is missing or cannot be read.")
                         .arg(folder),
                     restart.arg(QStringLiteral("copy the cubwavepref.txt that comes with it into that folder")));
        services_.dialogs.message(QStringLiteral("Error opeining file"), QStringLiteral("Error opening file"));
        return false;
    }
    prefs_ = *read;
    action(QStringLiteral("mnuListPrevious"))->setChecked(prefs_.listPrevious == 1);

    opClock_.setAccumulatedSeconds(prefs_.operatingSeconds);
    utcOffsetCheck();
    checkSavedBandAndMode();
    if (endRequested_)
        return false;
    if (!loadPrefixTable()) {
        logNotLoaded(QStringLiteral("the start-up stopped because the prefix table arrlpre2.txt cannot be read."),
                     restart.arg(QStringLiteral("replace arrlpre2.txt with the one that comes with it")));
        services_.dialogs.message(QStringLiteral("Error opeining file"), QStringLiteral("Error opening file"));
        return false;
    }
    mnuSetup_Click();
    showClocks();
    if (endRequested_)
        return false;

    if (!SavePref()) {
        logNotLoaded(QStringLiteral("the start-up stopped because cubwavepref.txt in %1 could not be saved.").arg(folder),
                     restart.arg(QStringLiteral("free some disk space or make that folder writable")));
        services_.dialogs.message(QStringLiteral("Error opeining file"), QStringLiteral("Error opening file"));
        return false;
    }
    if (!openExistingLogQuestion())
        return false;
    cmdEdit_->hide();
    cmdDelete_->hide();
    edit(Field::Call)->setFocus(Qt::OtherFocusReason);
    return true;
}

void Form1::requestEnd()
{
    if (!loading_) {
        close();
        return;
    }
    endRequested_ = true;
    logNotLoaded(QStringLiteral("the program was asked to end during its start-up."),
                 QStringLiteral("Start it again."));
    closeActiveDialog();
}

void Form1::closeActiveDialog()
{
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        dialog->reject();
}

bool Form1::openExistingLogQuestion()
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
    return newLogCommand();
}

bool Form1::SavePref()
{
    QDir::setCurrent(services_.workDir);
    const WriteResult written = replaceFileAtomically(prefPath(), PrefFile::serialize(prefs_));
    if (!written.ok) {
        services_.dialogs.message(QStringLiteral("Error saving preferences"),
                                  QStringLiteral("Could not write %1:  %2").arg(prefPath(), written.error),
                                  MsgButtons::Ok, MsgIcon::Warning);
    }
    return written.ok;
}

bool Form1::mnuOpen2()
{
    QDir::setCurrent(services_.workDir);
    const LogReadResult read = LogFile(logPath()).read();
    if (!read.ok || !store_.load(read.records)) {
        // The store no longer tells what the file holds: writing it back would lose contacts.
        logNotLoaded(QStringLiteral("log.txt could not be read back."),
                     QStringLiteral("Close this program, correct log.txt as the \"File Error\" message describes, "
                                    "and start it again."));
        fileError();
        return false;
    }
    logLoaded_ = true;
    RecentListRefresh();
    TimeStats();
    ListRefresh();
    recolourMultipliers();
    Labeldisplay();
    if (store_.dxListOverflowed())
        setStatus(QStringLiteral("The DX list is full: it shows the first %1 DX entries of the log.").arg(LogStore::kDxCapacity));
    store_.noteLoaded();
    return true;
}

void Form1::fileError()
{
    services_.dialogs.message(
        QStringLiteral("File Error"),
        QStringLiteral("Error opening file.  This error is annoying but probably correctable.  In all likelihood, a "
                       "character such as a quote got into your data or one of your entries has an invalid "
                       "date/time format.  Close this program and open log.txt in the program's working directory "
                       "with a text editor such as notepad.  Inspect the data and fix any errors you see (remove "
                       "any extra quotes and make sure your date and time entries are valid)."),
        MsgButtons::Ok, MsgIcon::Critical);
    services_.endProgram(1);
}

void Form1::RecentListRefresh() { recentModel_->showNewest(listAll_); }

QString Form1::dxHeading() const { return Statistics::dxHeading(store_.dxCount()); }

void Form1::ListRefresh()
{
    list1_->clear();
    lblStation_[5]->setText(dxHeading());
    list1_->addItems(store_.dxList());
}

void Form1::Labeldisplay()
{
    const Statistics::Totals totals = Statistics::totals(store_);
    lblTotCon_->setText(totals.contacts);
    lblTotSec_->setText(totals.phone);
    lblsectogo_->setText(totals.cw);
    lblTotScore_->setText(totals.score);
}

void Form1::recolourMultipliers()
{
    for (int i = 1; i <= SpcTable::kSize; ++i)
        setTextColour(label10_[static_cast<size_t>(i)], store_.worked(i) ? prefs_.workedColour : prefs_.notWorkedColour);
    label15_->setText(Statistics::statesWorkedText(store_.workedCount()));
}

void Form1::spcWorkedUpdate()
{
    const int i = store_.markWorked(store_.at(store_.count()).spc());
    if (i == 0)
        return;
    setTextColour(label10_[static_cast<size_t>(i)], prefs_.workedColour);
    label15_->setText(Statistics::statesWorkedText(store_.workedCount()));
}

void Form1::label10Hover(int index)
{
    const QString code = label10_[static_cast<size_t>(index)]->text();
    int count = 0;
    for (const QsoRecord& r : store_.records())
        count += r.spc().compare(code, Qt::CaseInsensitive) == 0 ? 1 : 0;
    QFont f = lblDupe_->font();
    f.setPointSizeF(std::max(4.0, screenWidthTwips() * 8.0 / 9600.0 * prefs_.windowSizePct / 100.0));
    lblDupe_->setFont(f);
    lblDupe_->setText(QStringLiteral("  ") + label10_[static_cast<size_t>(index)]->toolTip() +
                      QStringLiteral("    Total =") + withLeadingBlank(count));
}

void Form1::mouseMoveEvent(QMouseEvent* event)
{
    lblDupe_->setText(QString());
    QMainWindow::mouseMoveEvent(event);
}

// ---- band and mode ----

void Form1::bandMenuRefresh()
{
    for (const char* name : {"mnuBand80Ch", "mnuBand40Ch", "mnuBand20Ch", "mnuBand15Ch", "mnuBand10Ch",
                             "mnuBand6Ch", "mnuBand2ch"})
        action(QString::fromLatin1(name))->setChecked(false);
    satellites_->bandChanged(prefs_.band);
}

QAction* Form1::bandAction(const QString& band) const
{
    for (QAction* a : findChild<QMenu*>(QStringLiteral("mnuBandChange"))->actions()) {
        if (a->objectName().startsWith(QLatin1String("mnuBand")) && a->text().compare(band, Qt::CaseInsensitive) == 0)
            return a;
    }
    return nullptr;
}

void Form1::bandCommand(const QString& band)
{
    prefs_.band = band;
    bandMenuRefresh();
    if (QAction* a = bandAction(band))
        a->setChecked(true);
    label24_->setText(band);
    SavePref();
    if (BandSelection::bandCommandReloadsLog(band))
        mnuOpen2();
}

void Form1::BandFreqConversion(float frequencyMHz)
{
    const BandSelection::FrequencyReport report = BandSelection::frequencyReport(frequencyMHz, prefs_.band);
    if (report.bandCommand)
        bandCommand(*report.bandCommand);
    if (report.frequencyText)
        frequencyText_ = *report.frequencyText;
}

void Form1::ModeSelection(const QString& mode)
{
    switch (BandSelection::modeSelection(mode, prefs_.mode)) {
    case BandSelection::ModeCommand::Cw: modeCommand(QStringLiteral("CW")); break;
    case BandSelection::ModeCommand::Ph: modeCommand(QStringLiteral("PH")); break;
    case BandSelection::ModeCommand::None: break;
    }
}

void Form1::modeCommand(const QString& mode)
{
    prefs_.mode = mode;
    SavePref();
    mnuOpen2();
    const bool cw = mode.compare(QLatin1String("CW"), Qt::CaseInsensitive) == 0;
    action(QStringLiteral("mnu160"))->setChecked(cw);
    action(QStringLiteral("mnuSSB"))->setChecked(!cw);
}

void Form1::checkSavedBandAndMode()
{
    const bool cw = prefs_.mode.compare(QLatin1String("CW"), Qt::CaseInsensitive) == 0;
    action(QStringLiteral("mnu160"))->setChecked(cw);
    action(QStringLiteral("mnuSSB"))->setChecked(!cw);
    QAction* saved = bandAction(prefs_.band);
    for (QAction* a : findChild<QMenu*>(QStringLiteral("mnuBandChange"))->actions()) {
        if (a->isCheckable())
            a->setChecked(a == saved);
    }
    label24_->setText(prefs_.band);
}

void Form1::label24Click()
{
    if (const std::optional<QString> next = BandSelection::nextBandOnClick(prefs_.band))
        bandCommand(*next);
}

// ---- menus ----

void Form1::mnuListPrevious_Click()
{
    prefs_.listPrevious = listPrevious() ? 1 : 0;
    SavePref();
}

void Form1::mnuPostContest_Click()
{
    const bool on = action(QStringLiteral("mnuPostContest"))->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{edit(Field::PostDate), edit(Field::PostTime), lblPostConDate_,
                                                      lblPostConTime_})
        w->setVisible(on);
}

void Form1::mnuRSTDefault_Click()
{
    prefs_.defaultRst = services_.dialogs
                            .input(QStringLiteral("Default RST"), QStringLiteral("Please enter the default RST value."),
                                   prefs_.defaultRst)
                            .value_or(QString());
    SavePref();
}

void Form1::mnuWriteSumm_Click()
{
    if (prefs_.ownCall.size() < 3) {
        services_.dialogs.message(QStringLiteral("Call Sign Required!"), QStringLiteral("Please enter your call in setup."));
        return;
    }
    satellites_->show(Satellites::Window::Summary, true);
}

void Form1::mnuExit_Click()
{
    stopOperatingClock();
    services_.endProgram(0);
}

void Form1::stopOperatingClock()
{
    if (!opClock_.running())
        return;
    opClock_.stop(services_.clock.localNow());
    prefs_.operatingSeconds = opClock_.accumulatedSeconds();
    SavePref();
}

// ---- close sequence ----

void Form1::closeEvent(QCloseEvent* event)
{
    // Form_QueryUnload: never close in the middle of sending CW.
    keying_.cwBuffer.clear();
    if (keying_.cwSending) {
        event->ignore();
        return;
    }
    // Form_Unload.
    satellites_->unloadAll();
    Backup();
    // Form_Terminate.
    stopOperatingClock();
    event->accept();
}

// ---- window keys ----

void Form1::Form_KeyDown(int& keyCode, int shift)
{
    if (shift == 2) {
        shortcutSwallow_ = true;
        QDir::setCurrent(services_.workDir);
        using W = Satellites::Window;
        std::optional<std::pair<W, bool>> open;
        switch (keyCode) {
        case 'B': open = {W::SpectrumMap, true}; break;
        case 'C':
        case 'S': open = {W::CwSetup, false}; break;
        case 'D': open = {W::DxSpotting, false}; break;
        case 'F': open = {W::BandPlan, true}; break;
        case 'G': open = {W::RigTune, true}; break;
        case 'P': open = {W::VoiceSetup, false}; break;
        case 'R': open = {W::RigInterface, false}; break;
        case 'W': open = {W::CwStrings, false}; break;
        default: break;
        }
        if (open) {
            keyCode = 0;
            satellites_->show(open->first, open->second);
            return;
        }
    }

    if (keying_.cwRepeat) {
        if (keying_.winKeyOpen)
            satellites_->winKeyClearBuffer();
        keying_.cwBuffer.clear();
        keying_.cwRepeat = false;
        satellites_->stopCwRepeatTimer();
    }
    if (keying_.phoneRepeat) {
        keying_.phoneRepeat = false;
        satellites_->stopPhoneRepeatTimer();
    }

    const bool phone = prefs_.mode.compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0;
    if (!phone) {
        if (keying_.cwInterface != 0 && (keyCode == key::Down || keyCode == key::Up)) {
            if (keyCode == key::Down)
                satellites_->cwSpeedDown();
            else
                satellites_->cwSpeedUp();
            setStatus(satellites_->cwSpeedText() + QStringLiteral(" WPM"));
            keyCode = 0;
        }
        if (keyCode >= key::F1 && keyCode <= key::F12 && keying_.cwInterface != 0) {
            if (keyCode == key::F10)
                keyCode = key::F13;  // never let the platform take F10 as the menu key
            if (keyCode == key::F12) {
                keying_.keyboardCwMode = !keying_.keyboardCwMode;
                if (keying_.keyboardCwMode) {
                    setStatus(QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode."));
                    setBackColour(lblDialog_, kLightYellow);
                } else {
                    setStatus(QString());
                    setBackColour(lblDialog_, kTeal);
                }
            } else {
                satellites_->fKeyCW(keyCode);
            }
        }
    } else {
        if (keyCode == key::F10)
            keyCode = 0;
        else if (keyCode >= key::F1 && keyCode <= key::F9)
            satellites_->fKeyPhone(keyCode);
    }
}

void Form1::Form_KeyPress(int& keyAscii)
{
    if (shortcutSwallow_) {
        shortcutSwallow_ = false;
        keyAscii = 0;
        return;
    }
    const bool phone = prefs_.mode.compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0;
    if (phone && keyAscii == key::Esc && satellites_->phonePlaying()) {
        satellites_->phoneStop();
        keyAscii = 0;
        return;
    }
    if (keyAscii == key::Esc && keying_.cwInterface == 5 && keying_.winKeyOpen) {
        keying_.winKeyStatus = satellites_->winKeyStatus();
        if (keying_.winKeyStatus > 0) {
            satellites_->winKeyClearBuffer();
            keying_.cwBuffer.clear();
            keyAscii = 0;
            return;
        }
    }
    if (keyAscii == key::Esc && !keying_.cwSending) {
        cmdClear_Click();
        keyAscii = 0;
    }
    if (keyAscii == key::Esc && keying_.cwSending) {
        keying_.cwBuffer.clear();
        keyAscii = 0;
    }
    if (keyAscii == 0)
        return;
    if (keying_.winKeyOpen)
        keying_.winKeyStatus = satellites_->winKeyStatus();
    if (keying_.keyboardCwMode && keyAscii == key::Backspace && keying_.winKeyStatus > 0) {
        satellites_->winKeyBackspace();
        keyAscii = 0;
        return;
    }
    if (keyAscii == key::Backspace && keying_.cwSending && !keying_.cwBuffer.isEmpty() && keying_.keyboardCwMode) {
        keying_.cwBuffer.chop(1);
        keyAscii = 0;
    } else if (!phone && keying_.keyboardCwMode) {
        capital(keyAscii);
        keying_.cwBuffer += QChar(keyAscii);
        if (!keying_.cwSending)
            satellites_->loopThroughCwBuffer();
        keyAscii = 0;
    }
}




double Form1::screenWidthTwips() const
{
    const QScreen* s = screen();
    return (s ? s->geometry().width() : 640) * 15.0;
}

}  // namespace cubwave
