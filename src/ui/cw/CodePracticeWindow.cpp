#include "ui/cw/CodePracticeWindow.h"

#include "core/KeyCodes.h"
#include "cw/CodePractice.h"
#include "cw/CwSender.h"
#include "platform/Dialogs.h"
#include "ui/common/KeyTranslation.h"

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTimer>

namespace cubwave {

namespace {
constexpr QSize kDesignSize(560, 420);
constexpr double kPointSize = 8;
}  // namespace

CodePracticeWindow::CodePracticeWindow(CwSender& sender, const CwWindowServices& services, QWidget* parent)
    : QDialog(parent), sender_(sender), dialogs_(services.dialogs), uniform_(services.uniform), layout_(kDesignSize)
{
    setObjectName(QStringLiteral("frmCodePractice"));
    setWindowTitle(QStringLiteral("On the Air Code Practice"));
    if (!uniform_)
        uniform_ = [] { return QRandomGenerator::global()->generateDouble(); };

    QLabel* help = addLabel(QStringLiteral("lblHelp"), kHelpText, {8, 8, 544, 40});
    help->setWordWrap(true);

    addLabel(QStringLiteral("lblText1"), QStringLiteral(" Text to Send"), {8, 50, 200, 18});
    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->installEventFilter(this);
    layout_.place(text1_, {8, 68, 544, 100}, kPointSize);

    addLabel(QStringLiteral("lblText2"), QStringLiteral(" Text Sent"), {8, 172, 200, 18});
    text2_ = new QPlainTextEdit(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setReadOnly(true);
    layout_.place(text2_, {8, 190, 544, 74}, kPointSize);

    addLabel(QStringLiteral("lblText5"), QStringLiteral("Type characters here to send text from keyboard:"), {8, 270, 300, 22});
    text5_ = addLine(QStringLiteral("Text5"), QString(), {310, 270, 242, 22});
    // Nothing stays in the live box: no paste, no drop.
    text5_->setContextMenuPolicy(Qt::NoContextMenu);
    text5_->setAcceptDrops(false);
    connect(text5_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.isEmpty())
            text5_->clear();
    });

    addLabel(QStringLiteral("lblGenerate"), QStringLiteral("Generate"), {8, 304, 58, 22});
    text3_ = addLine(QStringLiteral("Text3"), CodePractice::kDefaultGroups, {66, 304, 44, 22});
    addLabel(QStringLiteral("lblGroupsOf"), QStringLiteral("groups of"), {114, 304, 58, 22});
    text4_ = addLine(QStringLiteral("Text4"), CodePractice::kDefaultGroupLength, {172, 304, 44, 22});
    addLabel(QStringLiteral("lblCharactersEach"), QStringLiteral("characters each."), {220, 304, 110, 22});
    for (QLineEdit* count : {text3_, text4_})
        count->setMaxLength(12);

    auto* include = new QGroupBox(QStringLiteral("Include:"), this);
    include->setObjectName(QStringLiteral("Frame1"));
    layout_.place(include, {340, 294, 212, 46}, kPointSize);
    option1_ = new QRadioButton(QStringLiteral("Letters Only"), include);
    option1_->setObjectName(QStringLiteral("Option1"));
    layout_.place(option1_, {8, 20, 110, 20}, kPointSize);
    auto* option2 = new QRadioButton(QStringLiteral("All"), include);
    option2->setObjectName(QStringLiteral("Option2"));
    option2->setChecked(true);
    layout_.place(option2, {122, 20, 80, 20}, kPointSize);

    addButton(QStringLiteral("Command2"), QStringLiteral("&Generate Random Characters"), {8, 348, 200, 28},
              &CodePracticeWindow::Command2_Click);
    addButton(QStringLiteral("Command1"), QStringLiteral("&Paste from Clipboard"), {212, 348, 160, 28},
              &CodePracticeWindow::Command1_Click);
    addButton(QStringLiteral("Command6"), QStringLiteral("&Clear"), {376, 348, 84, 28}, nullptr);
    addButton(QStringLiteral("Command5"), QStringLiteral("Cl&ear"), {464, 348, 88, 28}, nullptr);
    addButton(QStringLiteral("Command3"), QStringLiteral("&Send"), {8, 384, 90, 28}, &CodePracticeWindow::Command3_Click);
    addButton(QStringLiteral("Command4"), QStringLiteral("S&top"), {102, 384, 90, 28}, &CodePracticeWindow::Command4_Click);
    addButton(QStringLiteral("Command7"), QStringLiteral("&Faster"), {220, 384, 80, 28}, nullptr);
    addButton(QStringLiteral("Command8"), QStringLiteral("S&lower"), {304, 384, 80, 28}, nullptr);
    connect(findChild<QPushButton*>(QStringLiteral("Command6")), &QPushButton::clicked, text1_, &QPlainTextEdit::clear);
    connect(findChild<QPushButton*>(QStringLiteral("Command5")), &QPushButton::clicked, text2_, &QPlainTextEdit::clear);
    connect(findChild<QPushButton*>(QStringLiteral("Command7")), &QPushButton::clicked, &sender_, &CwSender::speedUp);
    connect(findChild<QPushButton*>(QStringLiteral("Command8")), &QPushButton::clicked, &sender_, &CwSender::speedDown);
    label8_ = addLabel(QStringLiteral("Label8"), QString(), {392, 384, 40, 28});
    label8_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addLabel(QStringLiteral("lblWPM"), QStringLiteral("WPM"), {436, 384, 40, 28});
    showSpeed();

    connect(&sender_, &CwSender::speedChanged, this, &CodePracticeWindow::showSpeed);
    // The next practice character goes once the previous one has gone out, so none is lost.
    connect(&sender_, &CwSender::sendingEnded, this, [this] {
        if (practising_ && awaitingEnd_) {
            awaitingEnd_ = false;
            QTimer::singleShot(0, this, &CodePracticeWindow::step);
        }
    });
    // A sending that stopped for a reason (no speed, no line) ends the practice too.
    connect(&sender_, &CwSender::problem, this, [this] {
        practising_ = false;
        awaitingEnd_ = false;
    });

    layout_.scaleDialogToScreen(this);
}

QLabel* CodePracticeWindow::addLabel(const QString& name, const QString& caption, QRect design)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    layout_.place(label, design, kPointSize);
    return label;
}

QLineEdit* CodePracticeWindow::addLine(const QString& name, const QString& text, QRect design)
{
    auto* line = new QLineEdit(text, this);
    line->setObjectName(name);
    line->installEventFilter(this);
    layout_.place(line, design, kPointSize);
    return line;
}

void CodePracticeWindow::addButton(const QString& name, const QString& caption, QRect design,
                                   void (CodePracticeWindow::*slot)())
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    layout_.place(button, design, kPointSize);
    if (slot)
        connect(button, &QPushButton::clicked, this, slot);
}

void CodePracticeWindow::showSpeed() { label8_->setText(sender_.settings().speedWpm); }

void CodePracticeWindow::setPracticeText(QString text)
{
    if (text.size() > CodePractice::kMaxCharacters) {
        text.truncate(CodePractice::kMaxCharacters);
        dialogs_.message(kCappedTitle, kCappedText, MsgButtons::Ok, MsgIcon::Information);
    }
    text1_->setPlainText(text);
}

void CodePracticeWindow::Command2_Click()
{
    const CodePractice::Result r =
        CodePractice::generate(text3_->text(), text4_->text(), option1_->isChecked(), uniform_);
    text3_->setText(r.groupsText);
    text4_->setText(r.groupLengthText);
    text1_->setPlainText(r.text);
    if (r.capped)
        dialogs_.message(kCappedTitle, kCappedText, MsgButtons::Ok, MsgIcon::Information);
}

void CodePracticeWindow::Command1_Click()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    setPracticeText(clipboard ? clipboard->text() : QString());
}

void CodePracticeWindow::Command3_Click()
{
    text1_->setFocus(Qt::OtherFocusReason);
    position_ = 0;
    practising_ = true;
    awaitingEnd_ = false;
    step();
}

void CodePracticeWindow::Command4_Click() { stop(); }

void CodePracticeWindow::stop()
{
    practising_ = false;
    awaitingEnd_ = false;
    sender_.stopSending();
}

void CodePracticeWindow::step()
{
    if (!practising_ || awaitingEnd_)
        return;
    // Read again at each character: edits made while sending count.
    const QString text = text1_->toPlainText();
    if (position_ >= text.size()) {
        practising_ = false;
        return;
    }
    const QChar c = text[position_];
    sender_.setBuffer(QString(c));
    if (!sender_.isSending())
        sender_.loopThroughCwBuffer();
    appendSent(QString(c));
    QTextCursor caret = text1_->textCursor();
    caret.setPosition(static_cast<int>(position_ + 1));
    text1_->setTextCursor(caret);
    ++position_;
    // Without a pump (the WinKey takes the text whole) the next character goes at once.
    awaitingEnd_ = sender_.isSending();
    if (!awaitingEnd_)
        QTimer::singleShot(0, this, &CodePracticeWindow::step);
}

void CodePracticeWindow::appendSent(const QString& text)
{
    QTextCursor end(text2_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    // The caret sits just before the last character sent.
    end.movePosition(QTextCursor::Left);
    text2_->setTextCursor(end);
}

void CodePracticeWindow::liveKey(int keyAscii)
{
    if (keyAscii == key::Backspace) {
        sender_.removeLastWaiting();
        QTextCursor end(text2_->document());
        end.movePosition(QTextCursor::End);
        end.deletePreviousChar();
        return;
    }
    int k = keyAscii;
    capital(k);
    appendSent(QString(QChar(k)));
    sender_.typeCharacter(QChar(k));
}

bool CodePracticeWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const TranslatedKey k = translateKey(*static_cast<QKeyEvent*>(event));
    if (watched == text5_) {
        // Tab and Esc keep their meaning; other control keys (Ctrl+V, Enter) send nothing.
        if (k.keyAscii == 0 || k.keyAscii == key::Esc)
            return false;
        if (k.keyAscii >= key::Space || k.keyAscii == key::Backspace)
            liveKey(k.keyAscii);
        return true;
    }
    if (watched == text1_ && k.keyAscii >= 'a' && k.keyAscii <= 'z') {
        int upper = k.keyAscii;
        capital(upper);
        text1_->insertPlainText(QString(QChar(upper)));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CodePracticeWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout_.apply(size());
}

void CodePracticeWindow::reject()
{
    // Closing stops the practice first, so it never runs on a closed window; the character on
    // the air finishes and the operator closes again, as with the main window.
    stop();
    if (sender_.isSending())
        return;
    QDialog::reject();
}

}  // namespace cubwave
