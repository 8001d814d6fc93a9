#pragma once

#include "core/FieldText.h"

#include <QObject>

class QDropEvent;
class QInputMethodEvent;
class QLineEdit;
class QPoint;

namespace cubwave {

// Holds an entry field to its field-text rule for text that does not come key by key: the
// clipboard (Ctrl+V, Shift+Insert, the context menu's Paste), the X11 selection (middle click),
// drag and drop, and composed input (dead keys, input methods). An edit that reaches the field
// some other way (the program's own insert(), undo) is put right after the fact, and setText()
// still loses every character that would break its line in a file.
class FieldTextGuard : public QObject {
    Q_OBJECT

public:
    // The guard lives as long as the field. Installed last, it sees the field's events first.
    static FieldTextGuard* install(QLineEdit* field, FieldRule rule);

    const FieldRule& rule() const { return rule_; }
    // Puts text at the caret, replacing the selection, as the rule keeps it.
    void insertText(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FieldTextGuard(QLineEdit* field, FieldRule rule);

    bool showContextMenu(const QPoint& globalPos);
    bool forwardDrop(QDropEvent* event);
    void cleanCommit(QInputMethodEvent* event);
    void enforceOnEdit(const QString& text);

    QLineEdit* field_;
    FieldRule rule_;
    bool forwarding_ = false;
    QString current_;
    QString previous_;
};

}  // namespace cubwave
