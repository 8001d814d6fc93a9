#pragma once

#include "ui/common/DesignLayout.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace cubwave {

class Dialogs;
class RigTuning;

// "Test Change Frequency Function": sends a hand-typed command to the rig, as text or as hex
// bytes, and tries the rig's frequency command with a typed frequency, so that an operator can
// work out the commands of a radio the list does not have.
class FrequencyTestDialog : public QDialog {
    Q_OBJECT

public:
    static const QString kCaption;
    static const QString kBadHexTitle;
    static const QString kBadHexText;
    static const QString kBadTextText;
    static const QString kSendFailedTitle;
    static const QString kBadFrequencyTitle;
    static const QString kBadFrequencyText;

    FrequencyTestDialog(RigTuning& rig, Dialogs& dialogs, QWidget* parent = nullptr);

    // "Send" beside the raw command.
    void Command1_Click();
    // "Send" beside the frequency.
    void Command2_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    RigTuning& rig_;
    Dialogs& dialogs_;
    DesignLayout layout_;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QCheckBox* check1_ = nullptr;
};

}  // namespace cubwave
