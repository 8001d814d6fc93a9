#include "ui/main/KeyPipeline.h"

#include "ui/main/MainWindow.h"
#include "ui/common/KeyTranslation.h"

#include <QApplication>
#include <QKeyEvent>

namespace cubwave {

KeyPipeline::KeyPipeline(MainWindow* form) : form_(form) { qApp->installEventFilter(this); }

void KeyPipeline::replayHeldKeys()
{
    // A held Enter commits again on the way; the keys after it wait for that commit in turn.
    if (replaying_)
        return;
    replaying_ = true;
    while (form_ && !form_->committing() && !held_.empty()) {
        const std::unique_ptr<QKeyEvent> key = std::move(held_.front());
        held_.pop_front();
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form_.data();
        if (target->window() == form_)
            QCoreApplication::sendEvent(target, key.get());
    }
    replaying_ = false;
}

KeyPipeline::~KeyPipeline()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool KeyPipeline::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !form_)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != form_ || !form_->isEnabled())
        return false;
    // An ignored key travels up to the parents; handle it once, at the receiver it was sent to.
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form_.data();
    if (widget != target)
        return false;

    auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (form_->committing()) {
        // More keys than anyone types during one commit would only come from a stuck key.
        if (held_.size() < kMaxHeldKeys)
            held_.emplace_back(static_cast<QKeyEvent*>(keyEvent->clone()));
        return true;
    }
    const TranslatedKey k = translateKey(*keyEvent);
    int keyCode = k.virtualKey;
    form_->Form_KeyDown(keyCode, k.shiftMask);
    if (!form_)
        return true;
    const bool downZeroed = keyCode == 0;

    int keyAscii = k.keyAscii;
    if (keyAscii == 0)
        return downZeroed || isTypingChord(*keyEvent);  // Alt+letter is a command, never text
    form_->Form_KeyPress(keyAscii);
    if (keyAscii == 0 || !form_)
        return true;
    if (form_->fieldKeyPress(target, keyAscii))
        return true;
    // Not an entry field: the widget gets the key as it came (a button's Space, say).
    return downZeroed || keyAscii != k.keyAscii;
}

}  // namespace cubwave
