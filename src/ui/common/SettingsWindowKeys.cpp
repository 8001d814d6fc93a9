#include "ui/common/SettingsWindowKeys.h"

#include "ui/common/KeyTranslation.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace cubwave {

namespace {

bool isField(const QObject* o)
{
    return qobject_cast<const QLineEdit*>(o) || qobject_cast<const QTextEdit*>(o) ||
           qobject_cast<const QPlainTextEdit*>(o) || qobject_cast<const QAbstractSpinBox*>(o);
}

class SettingsKeys final : public QObject {
public:
    SettingsKeys(QWidget* window, QAbstractButton* done) : QObject(window), window_(window), done_(done) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool field = watched != window_;
        if (key->key() == Qt::Key_Escape && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            // A field's own rules may swallow Esc; the window sees the rest once the focused
            // control has passed it on.
            if (done_ && done_->isEnabled())
                done_->click();
            return true;
        }
        return field && isTypingChord(*key);
    }

private:
    QWidget* window_;
    QPointer<QAbstractButton> done_;
};

}  // namespace

void useSettingsWindowKeys(QWidget* window, QAbstractButton* done)
{
    auto* keys = new SettingsKeys(window, done);
    window->installEventFilter(keys);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (isField(w) && w->window() == window)
            w->installEventFilter(keys);
    }
}

}  // namespace cubwave
