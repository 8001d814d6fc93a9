#include "ui/main/EntryLine.h"

#include "core/DupCheck.h"
#include "core/KeyCodes.h"
#include "core/OperatingClock.h"
#include "core/PartialDupSearch.h"
#include "core/SpcTable.h"
#include "core/Statistics.h"
#include "cw/CwKeyerPort.h"
#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "station/GreatCircle.h"
#include "station/PrefixTable.h"
#include "ui/common/Caret.h"
#include "ui/common/VbColor.h"
#include "ui/main/MainScreen.h"
#include "ui/main/RecentContactsModel.h"
#include "voice/VoiceKeyerPort.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace cubwave {

EntryLine::EntryLine(Context context, QObject* parent) : QObject(parent), c_(std::move(context))
{
    for (QLineEdit* field : c_.screen.fields)
        field->installEventFilter(this);
    connect(edit(Field::Call), &QLineEdit::textChanged, this, &EntryLine::callChanged);
    connect(edit(Field::Spc), &QLineEdit::textChanged, this, [this] {
        c_.screen.newLabel->setVisible(Statistics::showsNew(edit(Field::Spc)->text(), c_.session.store().dxList()));
    });
}

QLineEdit* EntryLine::edit(Field field) const { return c_.screen.fields[static_cast<size_t>(field)]; }

std::optional<EntryLine::Field> EntryLine::fieldOf(QWidget* widget) const
{
    for (size_t i = 0; i < c_.screen.fields.size(); ++i) {
        if (c_.screen.fields[i] == widget)
            return static_cast<Field>(i);
    }
    return std::nullopt;
}

void EntryLine::setStatus(const QString& text) { c_.screen.statusLabel->setText(text); }

void EntryLine::beep() { c_.beeper.beep(); }

// Space moves on from these fields as Tab would, from wherever the focus is now.
void EntryLine::sendTab()
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(focus, &tab);
}

void EntryLine::focusCall() { edit(Field::Call)->setFocus(Qt::OtherFocusReason); }

void EntryLine::setLocation(const QString& text) { edit(Field::Spc)->setText(text); }

void EntryLine::showPostContestFields(bool shown)
{
    for (QWidget* w : std::initializer_list<QWidget*>{edit(Field::PostDate), edit(Field::PostTime),
                                                      c_.screen.postDateHeading, c_.screen.postTimeHeading})
        w->setVisible(shown);
}

ContactEntry EntryLine::values() const
{
    return {edit(Field::Call)->text(), edit(Field::Name)->text(),  edit(Field::Age)->text(),
            edit(Field::Spc)->text(),  edit(Field::Other)->text(), edit(Field::PostDate)->text(),
            edit(Field::PostTime)->text()};
}

// ---- keystrokes ----

bool EntryLine::keyPress(QWidget* widget, int& key)
{
    const std::optional<Field> field = fieldOf(widget);
    if (!field)
        return false;
    switch (*field) {
    case Field::Call: callKey(key); break;
    case Field::Name: nameKey(key); break;
    case Field::Age: ageKey(key); break;
    case Field::Spc: locationKey(key); break;
    case Field::Other: otherKey(key); break;
    case Field::PostTime:
    case Field::PostDate: postContestKey(*field, key); break;
    }
    if (key != 0)
        insertKey(edit(*field), key);
    return true;
}

void EntryLine::insertKey(QLineEdit* field, int key)
{
    if (key == key::Backspace)
        field->backspace();
    else if (key >= key::Space)
        field->insert(QString(QChar(key)));
}

void EntryLine::handOver(Field to, int key)
{
    // The receiving field starts afresh with the key, run through its own rules.
    QLineEdit* target = edit(to);
    target->setText(QString());
    target->setFocus(Qt::OtherFocusReason);
    keyPress(target, key);
}

bool EntryLine::enterCommits(int& key)
{
    if (key != key::Enter)
        return false;
    key = 0;
    c_.commit();
    return true;
}

bool EntryLine::spaceMovesTo(Field next, int& key)
{
    if (key != key::Space)
        return false;
    key = 0;
    edit(next)->setFocus(Qt::OtherFocusReason);
    return true;
}

void EntryLine::callKey(int& key)
{
    QLineEdit* call = edit(Field::Call);
    setStatus(QString());
    c_.screen.showHint(QString(), 9.0, c_.session.prefs().windowSizePct);
    if (call->text().size() < 2) {
        edit(Field::Spc)->setText(QString());
        clearLocationLabels();
    }
    if (key == key::Quote)
        key = 0;
    if (call->text().size() < 3 && c_.operatingClock.running())
        setStatus(QStringLiteral(" "));
    if (enterCommits(key) || spaceMovesTo(Field::Name, key))
        return;
    capital(key);
    partialDupSearch(key);
}

void EntryLine::nameKey(int& key)
{
    if (key == key::Quote)
        key = 0;
    if (enterCommits(key) || spaceMovesTo(Field::Age, key))
        return;
    capital(key);
    if (key >= '0' && key <= '9') {
        const int digit = key;
        key = 0;
        handOver(Field::Age, digit);
    }
}

void EntryLine::ageKey(int& key)
{
    if (key > '9') {
        int letter = key;
        key = 0;
        capital(letter);
        handOver(Field::Spc, letter);
        return;
    }
    if (enterCommits(key) || spaceMovesTo(Field::Spc, key))
        return;
    numberOnly(key);
}

void EntryLine::locationKey(int& key)
{
    QLineEdit* spc = edit(Field::Spc);
    if (key == key::Quote)
        key = 0;
    if (enterCommits(key))
        return;
    int caret = caretOf(spc);
    if (caret == 0 && spaceMovesTo(Field::Other, key))
        return;
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
        if (const PrefixEntry* entry = c_.prefixes.completeCountry(typed, Qt::CaseInsensitive)) {
            const QString rest = entry->country.mid(typed.size());
            key = 0;
            spc->setText(typed + rest);
            spc->setSelection(typed.size(), rest.size());
            c_.screen.continentLabel->setText(entry->continent);
            showBearing(entry->latitude, entry->longitude);
            return;
        }
    }
    if (!(spc->text().size() == 1 && caret == 1))
        spaceMovesTo(Field::Other, key);
}

void EntryLine::otherKey(int& key)
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

void EntryLine::postContestKey(Field field, int& key)
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

// ---- focus ----

bool EntryLine::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const std::optional<Field> field = fieldOf(qobject_cast<QWidget*>(watched));
        // A window losing or regaining the activation moves no focus between fields.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (field && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (event->type() == QEvent::FocusIn)
                gotFocus(*field);
            else if (*field == Field::Call)
                callLostFocus();
        } else if (field == Field::Call && event->type() == QEvent::FocusIn && reason == Qt::ActiveWindowFocusReason &&
                   !focusSeen_) {
            // The start-up gives the call field the focus while the window is still hidden, so
            // its first focus arrives with the window's activation: the operator who cannot see
            // the screen hears where typing goes.
            playFocusCue(Field::Call);
        }
        if (field && event->type() == QEvent::FocusIn)
            focusSeen_ = true;
    }
    return QObject::eventFilter(watched, event);
}

void EntryLine::playFocusCue(Field field)
{
    const int level = c_.session.prefs().voiceNavLevel;
    const auto cue = [this, level](int from, const char* name) {
        if (level >= from)
            c_.voice.playCue(QString::fromLatin1(name));
    };
    switch (field) {
    case Field::Call: cue(1, "Call"); break;
    case Field::Name: cue(2, "Name"); break;
    case Field::Age: cue(2, "RstRcvd"); break;
    case Field::Spc: cue(2, "SPC"); break;
    case Field::Other: cue(2, "Power"); break;
    default: break;
    }
}

void EntryLine::gotFocus(Field field)
{
    playFocusCue(field);
    switch (field) {
    case Field::Call: {
        c_.screen.editButton->hide();
        c_.screen.deleteButton->hide();
        const int listed = c_.screen.recentModel->rowCount();
        if (edit(Field::Call)->text().isEmpty() && listed < c_.session.store().count() && listed < 18)
            c_.screen.recentModel->showNewest(c_.session.listAll);
        break;
    }
    case Field::PostTime: edit(field)->selectAll(); break;
    case Field::PostDate:
        if (edit(field)->text().isEmpty()) {
            edit(field)->setText(c_.clock.localNow().date().toString(QStringLiteral("yyyy/MM/dd")));
            edit(field)->selectAll();
        }
        break;
    default: break;
    }
}

void EntryLine::callLostFocus()
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

void EntryLine::callChanged()
{
    lookupCall(edit(Field::Call)->text());
    c_.cw.setCallField(edit(Field::Call)->text());
}

// ---- where a call is ----

void EntryLine::lookupCall(const QString& call)
{
    QLineEdit* spc = edit(Field::Spc);
    const CallLocation where = c_.prefixes.locate(call);
    switch (where.outcome) {
    case CallLocation::Outcome::NoCall:
        break;
    case CallLocation::Outcome::UsaOrCanada:
        // The operator types the state or province; a "Not Found" left by a shorter prefix
        // typed a moment ago is no answer for this call.
        if (spc->text() == PrefixTable::notFoundText())
            spc->clear();
        c_.screen.bearingLabel->clear();
        c_.screen.distanceLabel->clear();
        c_.screen.continentLabel->setText(QStringLiteral("NA"));
        break;
    case CallLocation::Outcome::Found:
        spc->setText(where.location);
        c_.screen.continentLabel->setText(where.continent);
        if (where.hasCoordinates) {
            showBearing(where.latitude, where.longitude);
        } else {
            c_.screen.bearingLabel->clear();
            c_.screen.distanceLabel->clear();
        }
        break;
    case CallLocation::Outcome::NotFound:
        spc->setText(PrefixTable::notFoundText());
        clearLocationLabels();
        break;
    }
    if (where.selectSpcText())
        spc->selectAll();
    if (spc->text() == PrefixTable::notFoundText())
        clearLocationLabels();
}

void EntryLine::showBearing(float latitude, float longitude)
{
    const Preferences& prefs = c_.session.prefs();
    const BearingDistance r = GreatCircle::compute(prefs.ownLatitude, prefs.ownLongitude, latitude, longitude);
    c_.screen.bearingLabel->setText(r.bearingText);
    c_.screen.distanceLabel->setText(r.distanceText);
}

void EntryLine::clearLocationLabels()
{
    c_.screen.continentLabel->clear();
    c_.screen.bearingLabel->clear();
    c_.screen.distanceLabel->clear();
}

// ---- duplicates ----

void EntryLine::partialDupSearch(int key)
{
    PartialDupSearch::Input in;
    in.fieldText = edit(Field::Call)->text();
    in.keyCode = key;
    in.band = c_.session.prefs().band;
    in.mode = c_.session.prefs().mode;
    in.displayOn = c_.session.partialDupDisplay;
    in.clockRunning = c_.operatingClock.running();
    const PartialDupSearch::Result r = PartialDupSearch::run(c_.session.store(), in);

    setBackColour(c_.screen.statusLabel, kTeal);
    setBackColour(c_.screen.dupeLabel, r.matches.isEmpty() ? kButtonFace : kTeal);
    c_.screen.dupeLabel->setText(r.matches);
    if (r.status)
        setStatus(*r.status);
    if (r.beep)
        beep();
}

void EntryLine::checkDuplicates()
{
    DupCheck::Input in;
    in.call = edit(Field::Call)->text();
    in.band = c_.session.prefs().band;
    in.mode = c_.session.prefs().mode;
    in.fields = {edit(Field::Other)->text(), edit(Field::Spc)->text(), edit(Field::Name)->text(),
                 edit(Field::Age)->text()};
    in.listPrevious = c_.session.listPrevious();
    const DupCheck::Result r = DupCheck::run(c_.session.store(), in);

    if (r.replaceList) {
        std::vector<int> recNos;
        recNos.reserve(r.rows.size());
        for (const RecentRow& row : r.rows)
            recNos.push_back(row.recNo);
        c_.screen.recentModel->showRecords(std::move(recNos));
    }
    const auto fill = [this](Field field, const std::optional<QString>& value) {
        if (!value)
            return;
        edit(field)->setText(*value);
        edit(field)->setSelection(0, static_cast<int>(value->size()));
    };
    fill(Field::Other, r.fillOther);
    fill(Field::Spc, r.fillSpc);
    fill(Field::Name, r.fillName);
    fill(Field::Age, r.fillAge);

    if (r.duplicate) {
        setStatus(r.duplicate->report);
        setBackColour(c_.screen.statusLabel, kRed);
        clearDupeDisplay();
        // The commit goes on while it sounds; the next focus cue waits for its end instead of
        // the operator's keys.
        c_.voice.playCue(QStringLiteral("Dupe"));
    }
}

// ---- the checks before a contact is stored ----

bool EntryLine::callGiven()
{
    if (edit(Field::Call)->text().size() >= 3)
        return true;
    beep();
    setStatus(QStringLiteral("Need Call Sign!"));
    focusCall();
    return false;
}

bool EntryLine::locationValid()
{
    QLineEdit* spc = edit(Field::Spc);
    if (spc->text().size() != 2)
        return true;  // a country name or other location is taken as typed
    spc->setText(spc->text().toUpper());
    if (SpcTable::find(spc->text()) != 0) {
        if (c_.screen.continentLabel->text().isEmpty())
            c_.screen.continentLabel->setText(QStringLiteral("NA"));
        return true;
    }
    beep();
    setStatus(QStringLiteral("Invald Section!"));
    spc->setFocus(Qt::OtherFocusReason);
    return false;
}

bool EntryLine::checkComplete()
{
    const bool call = callGiven();
    const bool location = locationValid();
    checkDuplicates();
    return call && location;
}

bool EntryLine::postContestTimeValid()
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

// ---- clearing ----

void EntryLine::clearAfterStore()
{
    for (Field f : {Field::Call, Field::Name, Field::Age, Field::Spc, Field::Other})
        edit(f)->clear();
    clearLocationLabels();
    focusCall();
}

void EntryLine::clearDupeDisplay()
{
    setBackColour(c_.screen.dupeLabel, kButtonFace);
    c_.screen.dupeLabel->setText(QString());
}

void EntryLine::clear()
{
    clearDupeDisplay();
    setBackColour(c_.screen.statusLabel, kTeal);
    setStatus(QString());
    clearAfterStore();
}

}  // namespace cubwave
