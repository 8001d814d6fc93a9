#pragma once

#include "ui/common/DesignLayout.h"
#include "ui/cw/CwWindowServices.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace cubwave {

class CwSender;

// "On the Air Code Practice": random groups, pasted or typed text sent through the CW sender
// one character at a time, each after the previous one has gone out; and a live keying box.
class CodePracticeWindow : public QDialog {
    Q_OBJECT

public:
    static inline const QString kHelpText = QStringLiteral(
        "You can transmit morse code practice using randomly generated characters, copying and pasting text or "
        "typing text into the \"Text to Send\" text box.  Click Send to send the characters. ");
    static inline const QString kCappedTitle = QStringLiteral("Code Practice");
    static inline const QString kCappedText =
        QStringLiteral("Only the first 10000 characters were taken: that is hours of practice at any speed.");

    CodePracticeWindow(CwSender& sender, const CwWindowServices& services, QWidget* parent = nullptr);

    // True from "&Send" until the text has gone out or "S&top".
    bool practising() const { return practising_; }

    void Command2_Click();  // &Generate Random Characters
    void Command3_Click();  // &Send
    void Command4_Click();  // S&top
    void Command1_Click();  // &Paste from Clipboard

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;

private:
    QLabel* addLabel(const QString& name, const QString& caption, QRect design);
    QLineEdit* addLine(const QString& name, const QString& text, QRect design);
    void addButton(const QString& name, const QString& caption, QRect design, void (CodePracticeWindow::*slot)());
    void step();
    void stop();
    void liveKey(int keyAscii);
    void appendSent(const QString& text);
    void showSpeed();
    void setPracticeText(QString text);

    CwSender& sender_;
    Dialogs& dialogs_;
    std::function<double()> uniform_;
    DesignLayout layout_;
    bool practising_ = false;
    bool awaitingEnd_ = false;  // the current practice character is still going out
    qsizetype position_ = 0;    // next character of the practice text, from 0

    QPlainTextEdit* text1_ = nullptr;  // to send
    QPlainTextEdit* text2_ = nullptr;  // sent
    QLineEdit* text5_ = nullptr;       // live keying
    QLineEdit* text3_ = nullptr;       // groups
    QLineEdit* text4_ = nullptr;       // characters per group
    QRadioButton* option1_ = nullptr;  // Letters Only
    QLabel* label8_ = nullptr;         // speed
};

}  // namespace cubwave
