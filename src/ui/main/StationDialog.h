#pragma once

#include "core/FieldText.h"
#include "core/Preferences.h"

#include "ui/common/DesignLayout.h"

#include <QDialog>
#include <QRect>

#include <vector>

class QLineEdit;
class QPushButton;

namespace cubwave {

class Beeper;
class PrefixTable;

// " Amateur Station I.D.": the operator's own call, location, UTC offset, coordinates and own
// exchange. The window edits a copy of the stored values; Done checks the numbers and accepts,
// the close box rejects and leaves the copy as it was, so the caller can store values() either
// way. Saving the preferences and updating the main window's labels is the caller's business.
class StationDialog : public QDialog {
    Q_OBJECT

public:
    // Text fields longer than this could only come from a paste, and would swell the
    // preference file past what it is read back with.
    static constexpr int kMaxTextLength = 255;
    // Characters the operator may type into the offset field.
    static constexpr int kMaxOffsetLength = 7;

    // prefixes may be null: the country field then completes nothing.
    StationDialog(const Preferences& stored, Beeper& beeper, const PrefixTable* prefixes, QWidget* parent = nullptr);

    // The stored values with the ten station fields as Done left them; unchanged unless Done.
    const Preferences& values() const { return values_; }
    // Copies the ten values this window edits, and nothing else: a band or mode that changed
    // while the window was open stays changed.
    static void copyStationFields(const Preferences& from, Preferences& to);
    bool donePressed() const { return donePressed_; }

    void Command1_Click();

    // The keystroke rules, on a character code (0 = swallowed). Cap3 upper-cases "a".."z" and
    // drops the double quote; numberr keeps Backspace and "-", ".", "/", "0".."9" only.
    static void Cap3(int& key);
    static void numberr(int& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

public slots:
    void done(int result) override;

private:
    QLineEdit* addRow(const QString& fieldName, const QString& caption, const QString& text, const FieldRule& rule,
                      int row);

    // Keystroke rules: key is a character code, set to 0 when the key is swallowed.
    void fieldKeyPress(QLineEdit* field, int& key);
    void Text2_KeyPress(int& key);
    void Text6_LostFocus();

    Preferences values_;
    Beeper& beeper_;
    const PrefixTable* prefixes_;
    bool donePressed_ = false;
    // Leaving the window moves the focus too; no field is checked on the way out.
    bool closing_ = false;
    // The offset field's check runs once the focus change that left it is over.
    bool checkPending_ = false;

    DesignLayout layout_;

    QLineEdit* callField_ = nullptr;   // call sign
    QLineEdit* spcField_ = nullptr;   // state / province / country
    QLineEdit* utcOffsetField_ = nullptr;   // UTC offset
    QLineEdit* countryField_ = nullptr;   // country
    QLineEdit* longitudeField_ = nullptr;   // longitude
    QLineEdit* latitudeField_ = nullptr;   // latitude
    QLineEdit* continentField_ = nullptr;   // continent
    QLineEdit* nameField_ = nullptr;   // name
    QLineEdit* ageField_ = nullptr;   // age
    QLineEdit* colourField_ = nullptr;  // favourite colour
    QPushButton* doneButton_ = nullptr;
};

}  // namespace cubwave
