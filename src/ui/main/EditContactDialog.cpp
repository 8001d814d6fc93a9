#include "ui/common/Caret.h"
#include "ui/common/FieldKeyFilter.h"
#include "ui/main/EditContactDialog.h"

#include "core/KeyCodes.h"
#include "core/FieldText.h"
#include "core/LogFile.h"
#include "core/LogLine.h"
#include "core/LogMoment.h"
#include "platform/Beeper.h"
#include "platform/Dialogs.h"
#include "station/PrefixTable.h"
#include "ui/common/FieldTextGuard.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace cubwave {

namespace {

// The window is laid out on the 640 x 480 design surface and stretched to the screen.
constexpr QSize kDesignSize(306, 312);
constexpr double kDesignPointSize = 8;
// Dialogs sit 170 twips above the screen's centre; 15 twips to the pixel.

const QString kInvalidTimeTitle = QStringLiteral("Invalid Time Format!");
const QString kInvalidTimeText = QStringLiteral("You have entered an invalid time format!");
const QString kInvalidDateTitle = QStringLiteral("Invalid Date Format!");
const QString kInvalidDateText = QStringLiteral("You have entered an invalid date format!");
const QString kTooLongTitle = QStringLiteral("Contact Not Stored");
const QString kTooLongText = QStringLiteral(
    "This contact cannot be stored: as a line of log.txt it would take %1 bytes, more than the %2 a contact may "
    "take.  Shorten a field, or close the window to keep the contact as it was.");
const QString kUnreadableText = QStringLiteral(
    "This contact cannot be stored: log.txt could not read it back.  Remove any unusual characters, or close the "
    "window to keep the contact as it was.");

bool isBandCode(const QString& text)
{
    static const QStringList kBands = {QStringLiteral("160"), QStringLiteral("80"), QStringLiteral("40"),
                                       QStringLiteral("20"),  QStringLiteral("15"), QStringLiteral("10"),
                                       QStringLiteral("6"),   QStringLiteral("2")};
    return kBands.contains(text);  // exact
}

bool isModeCode(const QString& text) { return text == QLatin1String("CW") || text == QLatin1String("PH"); }


// What each field keeps of pasted, dropped or composed text: its keys' rule, and a length that
// keeps the whole record within the log's line budget.
FieldRule upperCase(int maxLength, int upperCaseBelow = FieldRule::kWholeField)
{
    FieldRule rule;
    rule.maxLength = maxLength;
    rule.upperCaseBelow = upperCaseBelow;
    return rule;
}

FieldRule onlyThese(int maxLength, const char* characters)
{
    FieldRule rule;
    rule.maxLength = maxLength;
    rule.only = QString::fromLatin1(characters);
    return rule;
}

}  // namespace

EditContactDialog::EditContactDialog(const QsoRecord& record, Dialogs& dialogs, Beeper& beeper, const PrefixTable* prefixes,
                       QWidget* parent)
    : QDialog(parent), record_(record), dialogs_(dialogs), beeper_(beeper), prefixes_(prefixes), layout_(kDesignSize)
{
    setObjectName(QStringLiteral("frmEditCon"));
    setWindowTitle(QStringLiteral("Edit Contact Entry"));

    struct Row {
        const char* label;
        const char* caption;
        const char* field;
        QsoRecord::Field source;
        QLineEdit** edit;
        FieldRule rule;
    };
    // The entry line's lengths where it has the field, so an edited contact fits the log as a
    // typed one does; a little room elsewhere, so a wrong date, time or mode shows as typed.
    const Row rows[] = {
        {"lblEditCall", "Callsign", "txtEditCall", QsoRecord::Call, &callField_, upperCase(12)},
        {"lblEditName", "Name", "Text2", QsoRecord::Name, &nameField_, upperCase(30)},
        {"lblEditCk", "Age", "txtEditCk", QsoRecord::Age, &ageField_, upperCase(3)},
        {"lblEditSec", "Other", "txtEditSec", QsoRecord::Other, &otherField_, upperCase(30)},
        {"lblEditPre", "QTH", "txtEditPre", QsoRecord::Spc, &spcField_, upperCase(30, 1)},
        {"lblEditDate", "Date", "txtEditDate", QsoRecord::Date, &dateField_, onlyThese(12, "0123456789/")},
        {"lblEditTime", "Time", "txtEditTime", QsoRecord::Time, &timeField_, onlyThese(12, "0123456789:")},
        {"lblEditBand", "Band", "Text1", QsoRecord::Band, &bandField_, upperCase(3)},
        {"lblEditMode", "Mode", "txtEditBnd", QsoRecord::Mode, &modeField_, upperCase(3)},
    };
    // Created top to bottom, which is also the Tab order.
    int y = 14;
    for (const Row& r : rows) {
        addLabel(QString::fromLatin1(r.label), QString::fromLatin1(r.caption), {16, y + 3, 70, 18});
        *r.edit = addField(QString::fromLatin1(r.field), record_[r.source], r.rule, {90, y, 130, 22});
        y += 28;
    }

    doneButton_ = new QPushButton(QStringLiteral("Done"), this);
    doneButton_->setObjectName(QStringLiteral("cmdDone"));
    place(doneButton_, {90, y + 2, 130, 28});
    connect(doneButton_, &QPushButton::clicked, this, &EditContactDialog::cmdDone_Click);

    spareField_ = addField(QStringLiteral("txtEditNum"), record_[QsoRecord::Spare], upperCase(30), {224, y + 2, 70, 22});
    spareField_->hide();

    bandInvalidLabel_ = addLabel(QStringLiteral("lblBandInvalid"), QStringLiteral("   Invalid!"),
                               {224, 14 + 7 * 28 + 3, 76, 18});
    modeInvalidLabel_ = addLabel(QStringLiteral("lblModeInvalid"), QStringLiteral("CW or PH!"),
                               {224, 14 + 8 * 28 + 3, 76, 18});
    for (QLabel* warning : {bandInvalidLabel_, modeInvalidLabel_}) {
        warning->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
        warning->hide();
    }

    layout_.scaleDialogToScreen(this);
}

QLabel* EditContactDialog::addLabel(const QString& name, const QString& caption, QRect design)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    place(label, design);
    return label;
}

QLineEdit* EditContactDialog::addField(const QString& name, const QString& text, FieldRule rule, QRect design)
{
    // A longer value read from the log is shown whole; it only cannot grow.
    rule.maxLength = std::max(rule.maxLength, static_cast<int>(text.size()));
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setMaxLength(rule.maxLength);
    field->setText(text);
    field->installEventFilter(this);
    FieldTextGuard::install(field, rule);
    place(field, design);
    return field;
}

void EditContactDialog::place(QWidget* widget, QRect design) { layout_.place(widget, design, kDesignPointSize); }

void EditContactDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout_.apply(size());
}

void EditContactDialog::showEvent(QShowEvent* event)
{
    closing_ = false;
    QDialog::showEvent(event);
}

void EditContactDialog::done(int result)
{
    // Leaving the window is no leaving of a field: nothing is checked on the way out.
    closing_ = true;
    pendingCheck_ = nullptr;
    QDialog::done(result);
}

bool EditContactDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field || field->parentWidget() != this)
        return QDialog::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        // Esc closes the window like its close box.
        const FieldKeyFilter keys{[this](QLineEdit* f, int& k) { fieldKeyPress(f, k); }};
        return keys.keyPress(field, *static_cast<QKeyEvent*>(event));
    }

    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // The window losing the activation (another program, a message box, a menu) moves no
        // focus between fields.
        if (closing_ || restoring_ || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        if (field == spcField_)
            txtEditPre_LostFocus();
        const bool checked = field == bandField_ || field == modeField_ || field == dateField_ || field == timeField_;
        if (checked && !pendingCheck_) {
            // The focus change is half done here; the check may open a message box, so it runs
            // once the change is over.
            pendingCheck_ = field;
            QTimer::singleShot(0, this, &EditContactDialog::runLeaveCheck);
        }
    }
    return false;
}

void EditContactDialog::fieldKeyPress(QLineEdit* field, int& key)
{
    if (field == spcField_) {
        txtEditPre_KeyPress(key);
        return;
    }
    if (key == key::Quote)
        key = 0;
    if (key == key::Enter) {
        key = 0;
        cmdDone_Click();
        return;
    }
    if (field == dateField_ || field == timeField_) {
        const int separator = field == dateField_ ? '/' : ':';
        if (!((key >= '0' && key <= '9') || key == separator || key == key::Backspace))
            key = 0;
        return;
    }
    capital(key);
}

void EditContactDialog::txtEditPre_KeyPress(int& key)
{
    QLineEdit* spc = spcField_;
    if (key == key::Quote) {
        key = 0;
        return;
    }
    if (key == key::Enter) {
        key = 0;
        cmdDone_Click();
        return;
    }
    // Control chords (copy, paste, undo) do what they always do.
    if (key < key::Space && key != key::Backspace)
        return;
    // Typing at the start replaces the whole entry.
    if (spc->text().isEmpty() || caretOf(spc) == 0) {
        spc->clear();
        if (key != key::Backspace && !QChar::isSurrogate(static_cast<char32_t>(key)))
            key = QChar::toUpper(static_cast<char32_t>(key));
    }
    const int caret = caretOf(spc);
    if (prefixes_ && caret >= 2 && key >= key::Space) {
        // Case matters here: "Can" completes to Canada, "CAN" stays as typed.
        const QString typed = spc->text().left(caret) + QChar(key);
        if (const PrefixEntry* match = prefixes_->completeCountry(typed, Qt::CaseSensitive)) {
            key = 0;
            const QString rest = match->country.mid(typed.size());
            spc->setText(typed + rest);
            spc->setSelection(static_cast<int>(typed.size()), static_cast<int>(rest.size()));
        }
    }
}

void EditContactDialog::txtEditPre_LostFocus()
{
    // A state or province code is always stored in capitals.
    if (spcField_->text().size() < 3)
        spcField_->setText(spcField_->text().toUpper());
}

void EditContactDialog::runLeaveCheck()
{
    QLineEdit* field = std::exchange(pendingCheck_, nullptr);
    if (!field || closing_)
        return;
    const QScopedValueRollback<bool> guard(restoring_, true);
    if (!checkField(field))
        putFocusBack(field);
}

bool EditContactDialog::checkField(QLineEdit* field)
{
    if (field == bandField_)
        return checkBand();
    if (field == modeField_)
        return checkMode();
    if (field == dateField_)
        return checkDate();
    if (field == timeField_)
        return checkTime();
    return true;
}

bool EditContactDialog::checkBand()
{
    const bool ok = isBandCode(bandField_->text());
    if (!ok)
        beeper_.beep();
    bandInvalidLabel_->setVisible(!ok);
    return ok;
}

bool EditContactDialog::checkMode()
{
    const bool ok = isModeCode(modeField_->text());
    if (!ok)
        beeper_.beep();
    modeInvalidLabel_->setVisible(!ok);
    return ok;
}

// A date or time is valid when the rest of the program can read it back from the log.
bool EditContactDialog::checkDate()
{
    if (LogMoment::parseDate(dateField_->text()))
        return true;
    beeper_.beep();
    dialogs_.message(kInvalidDateTitle, kInvalidDateText);
    return false;
}

bool EditContactDialog::checkTime()
{
    if (LogMoment::parseTime(timeField_->text()))
        return true;
    beeper_.beep();
    dialogs_.message(kInvalidTimeTitle, kInvalidTimeText);
    return false;
}

void EditContactDialog::putFocusBack(QLineEdit* field)
{
    // A message box closing may hand the activation to its parent, the main window.
    if (!isActiveWindow())
        activateWindow();
    field->setFocus(Qt::OtherFocusReason);
    // Selected, so that typing replaces the refused text.
    field->selectAll();
}

void EditContactDialog::cmdDone_Click()
{
    if (closing_)
        return;
    pendingCheck_ = nullptr;  // every check runs here
    const QScopedValueRollback<bool> guard(restoring_, true);
    if (!checkTime()) {
        putFocusBack(timeField_);
        return;
    }
    if (!checkDate()) {
        putFocusBack(dateField_);
        return;
    }
    // Enter in a field reaches Done without leaving it, so the band and mode are checked here
    // too: a contact must not be stored on a band or mode the log cannot count.
    if (!checkBand()) {
        putFocusBack(bandField_);
        return;
    }
    if (!checkMode()) {
        putFocusBack(modeField_);
        return;
    }
    txtEditPre_LostFocus();

    QsoRecord edited = record_;
    edited[QsoRecord::Call] = callField_->text();
    edited[QsoRecord::Spare] = spareField_->text();
    edited[QsoRecord::Spc] = spcField_->text();
    edited[QsoRecord::Age] = ageField_->text();
    edited[QsoRecord::Other] = otherField_->text();
    edited[QsoRecord::Date] = dateField_->text();
    edited[QsoRecord::Time] = timeField_->text();
    edited[QsoRecord::Mode] = modeField_->text();
    edited[QsoRecord::Band] = bandField_->text();
    edited[QsoRecord::Name] = nameField_->text();
    if (!fitsTheLog(edited))
        return;
    record_ = edited;
    stored_ = true;
    accept();
}

bool EditContactDialog::fitsTheLog(const QsoRecord& edited)
{
    // The log is rewritten from this record and read back at once: a line the reader refuses
    // would stop the program at every start.
    const QByteArray line = LogLine::format(edited).toUtf8() + "\r\n";
    const LogReadResult back = LogFile::parse(line);
    const bool readable = back.ok && back.records.size() == 1 && back.records.front() == edited;
    const qsizetype before = LogLine::format(record_).toUtf8().size() + 2;
    // A record may not grow past its share of the log, which keeps a full log within the
    // reader's file limit; one read from the log at a larger size is not made to shrink.
    const bool withinShare = line.size() <= FieldText::kMaxRecordLineBytes || line.size() <= before;
    if (readable && withinShare)
        return true;
    beeper_.beep();
    dialogs_.message(kTooLongTitle, readable ? kTooLongText.arg(line.size()).arg(FieldText::kMaxRecordLineBytes)
                                             : kUnreadableText,
                     MsgButtons::Ok, MsgIcon::Warning);
    return false;
}

}  // namespace cubwave
