#pragma once

#include "cw/CwSettings.h"
#include "ui/common/DesignLayout.h"
#include "ui/cw/CwWindowServices.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace cubwave {

class CwKeyingLines;
class CwSender;
class CwStringsWindow;

// "CW String Selections": the keying interface, port, speed, word space and timing method, the
// eleven messages and the F1 repeat. Every change reaches the sender at once, so it counts from
// the next element on; "Done" writes "cw.txt" and the settings store. The window stays loaded
// for the whole run: closing it only hides it.
class CwSetupWindow : public QWidget {
    Q_OBJECT

public:
    static inline const QString kUserCwSelection = QStringLiteral("UserCWSelection");
    static inline const QString kUserCwLoopOffset = QStringLiteral("UserCWLoopOffset");
    static inline const QString kWildcardsText =
        QStringLiteral("Wildcards are $ for Call, * for RST  and # for Number (where applicable).");
    static inline const QString kCommitText = QStringLiteral("A ! in the string enters the contact.");
    static inline const QString kWriteFailedTitle = QStringLiteral("CW settings not saved");
    // A message longer than this could only come from a paste; it would swell "cw.txt".
    static constexpr int kMaxMessageLength = 1000;

    // lines may be null: the port field then opens nothing and its tooltip names no device.
    CwSetupWindow(CwSender& sender, CwKeyingLines* lines, CwWindowServices services, QWidget* parent = nullptr);

    // Reads "cw.txt" and the two store keys into the fields (start-up); the sender follows.
    void load();
    // Shows the values in the fields as if read from the file; the sender follows.
    void showSettings(const CwSettings& settings);
    // The fields as the sender reads them.
    CwSettings settingsFromFields() const;

    // "Done" shows the CW Strings window minimized when an interface is chosen.
    void setStringsWindow(CwStringsWindow* window) { stringsWindow_ = window; }

    void Command1_Click();  // Done
    void Command4_Click();  // &Test
    void Command7_Click();  // Send Code Practice

signals:
    // "Done" hid the window: the main window takes the focus back.
    void doneClicked();
    void configureWinKeyRequested();
    // "WinKey" was chosen, by a click or from the stored settings: its window loads.
    void winKeyChosen();
    // A speed above 4 and below 100 typed while the WinKey is the interface.
    void winKeySpeedChanged(int wpm);
    // Why the keying port could not be opened, for the status line.
    void problem(const QString& reason);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* addField(const QString& name, QRect design);
    QLabel* addLabel(const QString& name, const QString& caption, QRect design);
    QPushButton* addButton(const QString& name, const QString& caption, QRect design);
    QRadioButton* addOption(QWidget* frame, const QString& name, const QString& caption, QRect design);
    void buildKeyingFrame();
    void buildTimingFrame();
    void buildMessages();

    void pushSettings();
    void interfaceClicked(int cwInterface);
    void methodClicked(TimingMethod method);
    void setLoopControlsEnabled(bool on);
    void stepLoop(bool faster);
    void portLeft();
    void setupPort();
    void showPortInvalid(const QString& title, const QString& text);
    void updatePortToolTip();
    void endTest();
    bool fieldKey(QLineEdit* field, int keyAscii);
    void fieldLeft(QLineEdit* field);

    CwSender& sender_;
    CwKeyingLines* lines_;
    CwWindowServices services_;
    CwStringsWindow* stringsWindow_ = nullptr;
    DesignLayout layout_;
    int cwInterface_ = kCwNone;
    double loopOffset_ = 0;
    bool filling_ = false;  // fields set from stored values do not echo back one by one
    bool testing_ = false;

    std::array<QRadioButton*, 5> interfaceOptions_{};  // Option1..Option5
    QPushButton* cmdConfWinkey_ = nullptr;
    QLineEdit* text10_ = nullptr;  // port
    QLineEdit* text14_ = nullptr;  // parallel address
    QLineEdit* text11_ = nullptr;  // speed
    QLineEdit* txtSpace_ = nullptr;
    QRadioButton* optTimer_ = nullptr;
    QRadioButton* optLoop_ = nullptr;
    QRadioButton* optSleep_ = nullptr;
    QLineEdit* txtLoop_ = nullptr;
    QLabel* lblLoop_ = nullptr;
    QPushButton* cmdLoopFaster_ = nullptr;
    QPushButton* cmdLoopSlower_ = nullptr;
    std::array<QLineEdit*, CwSettings::kMessageCount> messages_{};  // Text1..Text9, Text12, Text13
    QLineEdit* txtCwLoop_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QLabel* label23_ = nullptr;  // "Sending!"
    QPushButton* command1_ = nullptr;
};

}  // namespace cubwave
