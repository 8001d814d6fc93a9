#include "ui/common/Caret.h"
#include "ui/common/FieldKeyFilter.h"
#include "ui/main/StationDialog.h"

#include "core/KeyCodes.h"
#include "platform/Beeper.h"
#include "station/NumericText.h"
#include "station/PrefixTable.h"
#include "station/UtcOffsetCheck.h"
#include "ui/common/FieldTextGuard.h"
#include "ui/common/SettingsWindowKeys.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace cubwave {

namespace {

// The window is laid out on the 640 x 480 design surface and stretched to the screen.
constexpr QSize kDesignSize(352, 330);
constexpr double kDesignPointSize = 8;
// Dialogs sit 170 twips above the screen's centre; 15 twips to the pixel.
constexpr int kRowTop = 12;
constexpr int kRowStep = 28;


// What each field keeps of pasted, dropped or composed text: what its keys let through.
FieldRule stationRule(int upperCaseBelow, const char* only = "", int maxLength = StationDialog::kMaxTextLength)
{
    FieldRule rule;
    rule.maxLength = maxLength;
    rule.only = QString::fromLatin1(only);
    rule.upperCaseBelow = upperCaseBelow;
    return rule;
}

bool isNumeric(const QLineEdit* field) { return NumericText::parse(field->text()).has_value(); }

float numberIn(const QLineEdit* field) { return static_cast<float>(NumericText::parse(field->text()).value_or(0.0)); }

}  // namespace

StationDialog::StationDialog(const Preferences& stored, Beeper& beeper, const PrefixTable* prefixes, QWidget* parent)
    : QDialog(parent), values_(stored), beeper_(beeper), prefixes_(prefixes), layout_(kDesignSize)
{
    setObjectName(QStringLiteral("frmStationID"));
    setWindowTitle(QStringLiteral(" Amateur Station I.D."));

    // Created top to bottom, which is also the Tab order.
    const int all = FieldRule::kWholeField;
    callField_ = addRow(QStringLiteral("Text1"), QStringLiteral("Please Enter your Call Sign:"), stored.ownCall,
                    stationRule(all), 0);
    spcField_ = addRow(QStringLiteral("Text5"), QStringLiteral("State / Province / Country:"), stored.ownSpc,
                    stationRule(all), 1);
    utcOffsetField_ = addRow(QStringLiteral("Text6"), QStringLiteral("Hours added for UTC:"),
                    NumericText::shortest(stored.utcOffsetHours), stationRule(0, "-./0123456789", kMaxOffsetLength), 2);
    countryField_ = addRow(QStringLiteral("Text2"), QStringLiteral("Your Country:"), stored.ownCountry, stationRule(1), 3);
    longitudeField_ = addRow(QStringLiteral("Text3"), QStringLiteral("Your Longitude:"), NumericText::shortest(stored.ownLongitude),
                    stationRule(0), 4);
    latitudeField_ = addRow(QStringLiteral("Text4"), QStringLiteral("Your Latitude:"), NumericText::shortest(stored.ownLatitude),
                    stationRule(0), 5);
    continentField_ = addRow(QStringLiteral("Text7"), QStringLiteral("Your Continent:"), stored.ownContinent, stationRule(all), 6);
    nameField_ = addRow(QStringLiteral("Text9"), QStringLiteral("Your Name:"), stored.ownName, stationRule(all), 7);
    ageField_ = addRow(QStringLiteral("Text8"), QStringLiteral("Your Age:"), stored.ownAge, stationRule(all), 8);
    colourField_ = addRow(QStringLiteral("Text10"), QStringLiteral("Your Favorite Color:"), stored.ownColour,
                     stationRule(all), 9);

    doneButton_ = new QPushButton(QStringLiteral("Done"), this);
    doneButton_->setObjectName(QStringLiteral("Command1"));
    // Enter in a field is the field's own business (Done in most, nothing in the country and the
    // coordinates), so no button is the dialog's default.
    doneButton_->setAutoDefault(false);
    doneButton_->setDefault(false);
    // A click must not take the focus: Done puts a bad offset right itself, so leaving the
    // offset field on the way would only beep and pull the focus back.
    doneButton_->setFocusPolicy(Qt::TabFocus);
    layout_.place(doneButton_, {196, kRowTop + 10 * kRowStep + 6, 120, 28}, kDesignPointSize);
    connect(doneButton_, &QPushButton::clicked, this, &StationDialog::Command1_Click);

    layout_.scaleDialogToScreen(this);
    useSettingsWindowKeys(this, doneButton_);
    callField_->setFocus(Qt::OtherFocusReason);
}

QLineEdit* StationDialog::addRow(const QString& fieldName, const QString& caption, const QString& text,
                               const FieldRule& rule, int row)
{
    const int y = kRowTop + row * kRowStep;
    auto* label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("lbl") + fieldName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout_.place(label, {8, y, 180, 22}, kDesignPointSize);

    auto* field = new QLineEdit(this);
    field->setObjectName(fieldName);
    field->setMaxLength(kMaxTextLength);
    field->setText(text);
    field->installEventFilter(this);
    FieldTextGuard::install(field, rule);
    layout_.place(field, {196, y, 140, 22}, kDesignPointSize);
    label->setBuddy(field);
    return field;
}

void StationDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout_.apply(size());
}

void StationDialog::showEvent(QShowEvent* event)
{
    closing_ = false;
    QDialog::showEvent(event);
}

void StationDialog::done(int result)
{
    closing_ = true;
    checkPending_ = false;
    QDialog::done(result);
}

void StationDialog::keyPressEvent(QKeyEvent* event)
{
    // Esc never reaches here: useSettingsWindowKeys takes it as "Done", so it never throws the
    // edits away as QDialog's reject would. The close box does.
    // With no default button, Enter on a focused Done would do nothing.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focusWidget() == doneButton_) {
        event->accept();
        doneButton_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void StationDialog::Cap3(int& key)
{
    if (key == key::Quote)
        key = 0;
    else
        capital(key);
}

void StationDialog::numberr(int& key)
{
    if (!(key == key::Backspace || (key >= '-' && key <= '9')))
        key = 0;
}

bool StationDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field || field->parentWidget() != this)
        return QDialog::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        // Esc is "Done", taken before these rules see it.
        const FieldKeyFilter keys{[this](QLineEdit* f, int& k) { fieldKeyPress(f, k); }, true, true};
        return keys.keyPress(field, *static_cast<QKeyEvent*>(event));
    }

    if (event->type() == QEvent::FocusOut && field == utcOffsetField_) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another program, a menu or a popup taking the activation moves no focus between
        // fields, and leaving the window is no leaving of a field.
        if (closing_ || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        if (!checkPending_) {
            checkPending_ = true;
            QTimer::singleShot(0, this, &StationDialog::Text6_LostFocus);
        }
    }
    return false;
}

void StationDialog::fieldKeyPress(QLineEdit* field, int& key)
{
    if (field == countryField_) {
        Text2_KeyPress(key);
        return;
    }
    if (field == longitudeField_ || field == latitudeField_) {
        // Free text; Done puts anything that is no number right.
        if (key == key::Enter)
            key = 0;
        return;
    }
    if (key == key::Enter) {
        key = 0;
        Command1_Click();
        return;
    }
    if (field == utcOffsetField_) {
        numberr(key);
        // The length limit holds for typing only, so a stored value is always shown whole.
        const qsizetype kept = field->text().size() - field->selectedText().size();
        if (key != 0 && key != key::Backspace && kept >= kMaxOffsetLength)
            key = 0;
        return;
    }
    Cap3(key);
}

void StationDialog::Text2_KeyPress(int& key)
{
    if (caretOf(countryField_) == 0)
        Cap3(key);
    // Anywhere in the name, a double quote would break the preference line it is saved in.
    if (key == key::Quote || key == key::Enter)
        key = 0;
    if (key == 0 || !prefixes_)
        return;

    const int caret = caretOf(countryField_);
    const QString typed = countryField_->text().left(caret) + QChar(key);
    const PrefixEntry* match = prefixes_->completeCountry(typed, Qt::CaseSensitive);
    if (!match)
        return;
    key = 0;
    countryField_->setText(match->country);
    countryField_->setSelection(static_cast<int>(typed.size()), static_cast<int>(match->country.size() - typed.size()));
    longitudeField_->setText(NumericText::shortest(match->longitude));
    latitudeField_->setText(NumericText::shortest(match->latitude));
    continentField_->setText(match->continent);
}

void StationDialog::Text6_LostFocus()
{
    if (!checkPending_)
        return;
    checkPending_ = false;
    if (closing_ || !isVisible() || UtcOffsetCheck::parseOffset(utcOffsetField_->text()))
        return;
    beeper_.beep();
    utcOffsetField_->setFocus(Qt::OtherFocusReason);
}

void StationDialog::copyStationFields(const Preferences& from, Preferences& to)
{
    to.ownCall = from.ownCall;
    to.ownSpc = from.ownSpc;
    to.utcOffsetHours = from.utcOffsetHours;
    to.ownCountry = from.ownCountry;
    to.ownLongitude = from.ownLongitude;
    to.ownLatitude = from.ownLatitude;
    to.ownContinent = from.ownContinent;
    to.ownName = from.ownName;
    to.ownAge = from.ownAge;
    to.ownColour = from.ownColour;
}

void StationDialog::Command1_Click()
{
    if (!UtcOffsetCheck::parseOffset(utcOffsetField_->text()))
        utcOffsetField_->setText(QStringLiteral("0"));
    for (QLineEdit* coordinate : {longitudeField_, latitudeField_}) {
        if (!isNumeric(coordinate))
            coordinate->setText(QStringLiteral("0"));
    }

    values_.ownCall = callField_->text();
    values_.ownSpc = spcField_->text();
    values_.utcOffsetHours = UtcOffsetCheck::parseOffset(utcOffsetField_->text()).value_or(0.f);
    values_.ownCountry = countryField_->text();
    values_.ownLongitude = numberIn(longitudeField_);
    values_.ownLatitude = numberIn(latitudeField_);
    values_.ownContinent = continentField_->text();
    values_.ownName = nameField_->text();
    values_.ownAge = ageField_->text();
    values_.ownColour = colourField_->text();
    donePressed_ = true;
    accept();
}

}  // namespace cubwave
