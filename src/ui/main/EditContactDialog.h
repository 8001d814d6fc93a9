#pragma once

#include "core/FieldText.h"
#include "core/QsoRecord.h"

#include "ui/common/DesignLayout.h"

#include <QDialog>
#include <QRect>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace cubwave {

class Beeper;
class Dialogs;
class PrefixTable;

// "Edit Contact Entry": corrects one logged contact. The window works on its own copy of the
// record; Done validates and stores the fields into that copy and accepts, the close box (or
// Esc) rejects and leaves it as it was. Writing the log back is the caller's business.
class EditContactDialog : public QDialog {
    Q_OBJECT

public:
    // prefixes may be null: the location field then completes nothing.
    EditContactDialog(const QsoRecord& record, Dialogs& dialogs, Beeper& beeper, const PrefixTable* prefixes,
               QWidget* parent = nullptr);

    // True once Done has stored the fields.
    bool stored() const { return stored_; }
    const QsoRecord& record() const { return record_; }

    void cmdDone_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

public slots:
    void done(int result) override;

private:
    QLabel* addLabel(const QString& name, const QString& caption, QRect design);
    QLineEdit* addField(const QString& name, const QString& text, FieldRule rule, QRect design);
    // False, after telling the operator, for a record the log could not take back.
    bool fitsTheLog(const QsoRecord& edited);
    void place(QWidget* widget, QRect design);

    // Keystroke rules: key is a character code, set to 0 when the key is swallowed.
    void fieldKeyPress(QLineEdit* field, int& key);
    void txtEditPre_KeyPress(int& key);
    void txtEditPre_LostFocus();

    // The checks run when a field is left; false when the field must get the focus back.
    bool checkField(QLineEdit* field);
    bool checkBand();
    bool checkMode();
    bool checkDate();
    bool checkTime();
    void runLeaveCheck();
    void putFocusBack(QLineEdit* field);

    QsoRecord record_;
    Dialogs& dialogs_;
    Beeper& beeper_;
    const PrefixTable* prefixes_;
    bool stored_ = false;

    // A field left with an invalid value, waiting for its check to run once the focus change
    // is over (a message box must not open in the middle of one).
    QLineEdit* pendingCheck_ = nullptr;
    // Set while the window itself moves the focus or shows a message, so the field that is
    // passed through on the way is not checked in turn: two invalid fields must not keep
    // pulling the focus from each other.
    bool restoring_ = false;
    bool closing_ = false;

    DesignLayout layout_;

    QLineEdit* callField_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QLineEdit* ageField_ = nullptr;
    QLineEdit* otherField_ = nullptr;
    QLineEdit* spcField_ = nullptr;
    QLineEdit* dateField_ = nullptr;
    QLineEdit* timeField_ = nullptr;
    QLineEdit* bandField_ = nullptr;
    QLineEdit* modeField_ = nullptr;
    QLineEdit* spareField_ = nullptr;
    QLabel* bandInvalidLabel_ = nullptr;
    QLabel* modeInvalidLabel_ = nullptr;
    QPushButton* doneButton_ = nullptr;
};

}  // namespace cubwave
