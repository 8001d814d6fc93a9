#pragma once

#include "cw/WinKeyFile.h"
#include "ui/common/DesignLayout.h"

#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace cubwave {

class Dialogs;
class WinKeyKeyer;

// What the keyer's setup window is given besides the keyer.
struct WinKeyWindowServices {
    Dialogs& dialogs;
    QString dataFolder;                 // holds "WK.txt"
    std::function<QString()> ownCall;   // the station's call, for "Test"
    std::function<QString()> cwSpeed;   // the CW window's speed field, taken at every load
};

// " WinKey Setup": the keyer's port, speed, weight, lead-in, tail, ratio, pin 5 and mode, its
// open and close, and ways to try it. The fields are the live settings: each change reaches the
// keyer's settings at once, and a field left while the keyer is open sends its value. The window
// stays loaded for the whole run; "&Done" writes "WK.txt" and hides it.
class WinKeyWindow : public QWidget {
    Q_OBJECT

public:
    static inline const QString kNoteText = QStringLiteral("Up / down arrows from main form change speeds.");
    static inline const QString kTestText = QStringLiteral("VVV TEST DE ");
    static inline const QString kWriteFailedTitle = QStringLiteral("WinKey settings not saved");

    WinKeyWindow(WinKeyKeyer& keyer, WinKeyWindowServices services, QWidget* parent = nullptr);

    // Reads "WK.txt" and takes the CW speed; once per run, when the WinKey interface is chosen.
    void load();
    bool loaded() const { return loaded_; }
    // The fields as the keyer reads them.
    WinKeySettings settingsFromFields() const;

    void cmdOpenWinkey_Click();
    void cmdCloseWinkey_Click();
    void Command3_Click();  // Test
    void Command1_Click();  // Buffer Test
    void cmdStop_Click();
    void cmdDone_Click();

signals:
    void doneClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* addField(const QString& name, const QString& label, const QString& caption, int row,
                        const QString& hint = {});
    QLabel* addLabel(const QString& name, const QString& caption, QRect design);
    QPushButton* addButton(const QString& name, const QString& caption, QRect design);
    void buildOptions();
    void showSettings(const WinKeySettings& settings);
    void pushSettings();
    void fieldLeft(QLineEdit* field);
    bool typeAheadKey(int keyAscii);
    void optionClicked();
    void showOpened(int code, int version);
    void showClosed();
    void focusDone();

    WinKeyKeyer& keyer_;
    WinKeyWindowServices services_;
    DesignLayout layout_;
    bool loaded_ = false;
    bool filling_ = false;
    int port_ = 0;

    QLineEdit* txtWKComPort_ = nullptr;
    QLineEdit* txtWKWPM_ = nullptr;
    QLineEdit* txtWeight_ = nullptr;
    QLineEdit* txtLeadIn_ = nullptr;
    QLineEdit* txtTail_ = nullptr;
    QLineEdit* txtRatio_ = nullptr;
    QLineEdit* text1_ = nullptr;  // type-ahead
    std::array<QRadioButton*, 4> pinOptions_{};
    std::array<QRadioButton*, 4> modeOptions_{};
    QLabel* lblOpenStatus_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    QPushButton* cmdDone_ = nullptr;
};

}  // namespace cubwave
