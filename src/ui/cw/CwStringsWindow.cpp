#include "ui/cw/CwStringsWindow.h"

#include "cw/CwMessages.h"
#include "cw/CwSender.h"
#include "ui/common/ClickableLabel.h"

#include <QKeyEvent>
#include <QPushButton>

namespace cubwave {

namespace {
constexpr QSize kDesignSize(400, 360);
constexpr double kPointSize = 8;
constexpr int kRowTop = 8;
constexpr int kRowStep = 24;
constexpr int kF10Pressed = 121;
}  // namespace

CwStringsWindow::CwStringsWindow(CwSender& sender, QWidget* parent)
    : QWidget(parent, Qt::Window), sender_(sender), layout_(kDesignSize)
{
    setObjectName(QStringLiteral("frmCWStrings"));
    setWindowTitle(QStringLiteral("CW Strings"));
    installEventFilter(this);

    for (int i = 0; i < kRows; ++i) {
        const int y = kRowTop + i * kRowStep;
        auto* key = new ClickableLabel(this);
        key->setObjectName(QStringLiteral("Label1_%1").arg(i));
        key->setText(QStringLiteral("F%1").arg(i + 1));
        layout_.place(key, {8, y, 36, 22}, kPointSize);
        auto* message = new ClickableLabel(this);
        message->setObjectName(QStringLiteral("lblCWString_%1").arg(i));
        message->setTextFormat(Qt::PlainText);  // a message is never markup
        layout_.place(message, {48, y, 344, 22}, kPointSize);
        connect(key, &ClickableLabel::clicked, this, [this, i] { rowClicked(i); });
        connect(message, &ClickableLabel::clicked, this, [this, i] { rowClicked(i); });
        keyLabels_[i] = key;
        messageLabels_[i] = message;
    }
    messageLabels_[kRows - 1]->setText(QStringLiteral("Keyboard"));

    auto* hint = new QLabel(QStringLiteral("Press Ctrl W to Show this form."), this);
    hint->setObjectName(QStringLiteral("Label2"));
    layout_.place(hint, {8, kRowTop + kRows * kRowStep + 6, 250, 22}, kPointSize);
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("Command1"));
    done->setAutoDefault(false);
    layout_.place(done, {300, kRowTop + kRows * kRowStep + 4, 90, 26}, kPointSize);
    connect(done, &QPushButton::clicked, this, &QWidget::showMinimized);

    layout_.scaleDialogToScreen(this);
    refresh();
}

void CwStringsWindow::refresh()
{
    const CwSettings& s = sender_.settings();
    for (int i = 0; i < CwSettings::kMessageCount; ++i)
        messageLabels_[i]->setText(s.messages[i]);
}

void CwStringsWindow::rowClicked(int index)
{
    if (sender_.settings().cwInterface == kCwNone || index < 0 || index >= kRows)
        return;
    int keyCode = CwMessages::kF1 + index;
    if (keyCode == kF10Pressed)
        keyCode = CwMessages::kF10;
    if (keyCode == CwMessages::kF12)
        return;
    sender_.fKeyCW(keyCode);
}

bool CwStringsWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        refresh();
    return QWidget::event(event);
}

bool CwStringsWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Keys the focused button leaves unused come on to the window, and from there to the handler.
    if (watched == this && event->type() == QEvent::KeyPress && keyHandler_ &&
        keyHandler_(static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void CwStringsWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layout_.apply(size());
}

}  // namespace cubwave
