#pragma once

#include "ui/common/DesignLayout.h"
#include "voice/VoiceMessageFile.h"
#include "voice/VoiceSettings.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace cubwave {

class Beeper;
class Dialogs;
class VoiceKeyer;

// "Phone Wave Selections": the wave file of each of F1..F9, the PTT line and the F1 repeat.
// Loaded once and kept, hidden by "Done"; Ctrl+P shows it modeless, the menu modal. Its fields
// are the keyer's live settings: every change reaches the keyer at once.
class VoiceSetupWindow : public QDialog {
    Q_OBJECT

public:
    static inline const QString kCaption = QStringLiteral("Phone Wave Selections");
    static inline const QString kBrowseFilter = QStringLiteral("(*.wav)|*.wav");
    static inline const QString kUnstorablePathTitle = QStringLiteral("File name not usable");
    static inline const QString kUnstorablePathText = QStringLiteral(
        "The name of this file holds a double quote or a line break, which the voice message list cannot "
        "keep.  Please rename the file or choose another.");
    static inline const QString kSaveErrorTitle = QStringLiteral("Error Saving Voice Messages");
    // Paths longer than this could only come from a paste.
    static constexpr int kMaxPathLength = 4096;

    VoiceSetupWindow(VoiceKeyer& keyer, Dialogs& dialogs, Beeper& beeper, QString workDir, QWidget* parent = nullptr);

    // Start-up: reads "wave2.txt" into the fields and the keyer, without opening the port. A
    // missing or unreadable file is reported in the result and changes nothing.
    VoiceMessageFile::Loaded readMessageFile();
    // The settings the fields show.
    VoiceSettings fieldSettings() const;

    // "Browse" of F1..F9 (index 0..8): Command2..Command10.
    void browse(int index);
    // "Test": F1, as its key would.
    void Command11_Click();
    // "Stop": ends the F1 repeat.
    void Command12_Click();
    // "Done": hides the window and writes "wave2.txt".
    void Command1_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* addField(const QString& name, QRect design);
    void showSettings(const VoiceSettings& settings);
    void pushSettings();
    void Text10_LostFocus();
    void txtPHLoop_LostFocus();
    void portInvalid(const QString& title, const QString& text);
    // No sound output: a beep each time, the message box once per run.
    void soundOutputMissing(const QString& title, const QString& text, bool firstInRun);

    VoiceKeyer& keyer_;
    Dialogs& dialogs_;
    Beeper& beeper_;
    QString workDir_;
    DesignLayout layout_;
    bool showing_ = false;  // fields being filled: no change reaches the keyer piecemeal

    std::array<QLineEdit*, VoiceSettings::kMessageCount> paths_{};  // Text1..Text9
    QLineEdit* text10_ = nullptr;    // PTT port
    QRadioButton* option1_ = nullptr;  // RTS
    QRadioButton* option2_ = nullptr;  // DTR
    QRadioButton* option3_ = nullptr;  // Parallel
    QLineEdit* text11_ = nullptr;    // parallel address
    QLineEdit* txtPHLoop_ = nullptr;
    QPushButton* command11_ = nullptr;  // Test
    QPushButton* command12_ = nullptr;  // Stop
    QPushButton* command1_ = nullptr;   // Done
};

}  // namespace cubwave
