#pragma once

#include "ui/common/DesignLayout.h"

#include <QDialog>

class QRadioButton;
class QPushButton;

namespace cubwave {

class VoiceNavigation;

// "Voice Navigation Settings": Off, Call Only or All Data Fields, each announced by its cue
// when chosen. "Done" makes the choice the level in use and asks for it to be saved.
class VoiceNavigationWindow : public QDialog {
    Q_OBJECT

public:
    static inline const QString kCaption = QStringLiteral("Voice Navigation Settings");
    static inline const QString kInstructions = QStringLiteral(
        "Choose one of the options below.  Select Off to turn the navigation function off, Call to indicate the "
        "Call field only and All Data Fields to provide verbal prompts through all the data fields.");
    static inline const QString kEnableText = QStringLiteral("To Enable Voice Navigation:");
    static inline const QString kFolderText = QStringLiteral("Put the audio wave files in this program's working directory: ");
    static inline const QString kFrameText = QStringLiteral("Choose your preferred option:");

    explicit VoiceNavigationWindow(VoiceNavigation& navigation, QWidget* parent = nullptr);

    // The level the selected option stands for.
    int selectedLevel() const;
    // "Done": the selected level is the one in use; the window hides.
    void Command1_Click();

signals:
    // "Done" chose this level; the preferences are to be saved.
    void levelSaved(int level);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    VoiceNavigation& navigation_;
    DesignLayout layout_;
    QRadioButton* option1_ = nullptr;  // Off
    QRadioButton* option2_ = nullptr;  // Call Only
    QRadioButton* option3_ = nullptr;  // All Data Fields
    QPushButton* command1_ = nullptr;
};

}  // namespace cubwave
