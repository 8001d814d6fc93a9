#include "ui/common/FieldTextGuard.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QValidator>

#include <algorithm>
#include <utility>

namespace cubwave {

namespace {

// Every change of the field's text passes through here, setText() and insert() included.
class LineBreakerValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override
    {
        const auto suspect = [](QChar c) { return FieldText::breaksLine(c) || c.isSurrogate(); };
        if (std::none_of(input.cbegin(), input.cend(), suspect))
            return Acceptable;
        const QString before = FieldText::withoutLineBreakers(QStringView(input).left(pos));
        input = FieldText::withoutLineBreakers(input);
        pos = static_cast<int>(std::min(before.size(), input.size()));
        return Acceptable;
    }
};

// The standard menu's Paste: named in newer Qt versions, known by its caption in older ones.
bool isPasteAction(const QAction* action)
{
    return action->objectName() == QLatin1String("edit-paste") ||
           action->text().section(QLatin1Char('\t'), 0, 0) == QCoreApplication::translate("QLineEdit", "&Paste");
}

}  // namespace

FieldTextGuard* FieldTextGuard::install(QLineEdit* field, FieldRule rule)
{
    return new FieldTextGuard(field, std::move(rule));
}

FieldTextGuard::FieldTextGuard(QLineEdit* field, FieldRule rule)
    : QObject(field), field_(field), rule_(std::move(rule)), current_(field->text())
{
    field_->setValidator(new LineBreakerValidator(this));
    field_->installEventFilter(this);
    // The field's text as of its last textChanged. The signal's argument can be stale: a
    // correction made while textEdited runs is followed by the textChanged of the edit itself.
    connect(field_, &QLineEdit::textChanged, this, [this] {
        if (field_->text() != current_)
            previous_ = std::exchange(current_, field_->text());
    });
    connect(field_, &QLineEdit::textEdited, this, &FieldTextGuard::enforceOnEdit);
}

void FieldTextGuard::enforceOnEdit(const QString& text)
{
    // The text the edit started from: Qt tells textEdited before textChanged, so that is still
    // current_ here (previous_ should a version tell them the other way round).
    const QString before = current_ == text ? previous_ : current_;
    // What the edit put in: the stretch between what it left alone at either end.
    const qsizetype shorter = std::min(before.size(), text.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == text[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && before[before.size() - 1 - tail] == text[text.size() - 1 - tail])
        ++tail;
    // Never cut a surrogate pair in two.
    if (head > 0 && text[head - 1].isHighSurrogate())
        --head;
    if (tail > 0 && text[text.size() - tail].isLowSurrogate())
        --tail;
    const QStringView inserted = QStringView(text).mid(head, text.size() - head - tail);
    if (inserted.isEmpty())
        return;
    const QString kept = FieldText::accept(rule_, inserted, head);
    if (kept == inserted)
        return;
    // Text put in by the program's own insert(), or an edit the event filter did not see.
    field_->setText(text.left(head) + kept + text.right(tail));
    field_->setCursorPosition(static_cast<int>(head + kept.size()));
}

void FieldTextGuard::insertText(const QString& text)
{
    if (field_->isReadOnly())
        return;
    const int start = field_->hasSelectedText() ? field_->selectionStart() : field_->cursorPosition();
    const qsizetype selected = field_->selectedText().size();
    const FieldText::Edit e = FieldText::insert(rule_, field_->text(), start, selected, text);
    if (e.inserted.isEmpty())
        return;  // as a paste of an empty clipboard: the selection stays
    // insert() keeps the undo history and tells the window the operator changed the text.
    field_->insert(e.inserted);
}

bool FieldTextGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != field_ || forwarding_)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
            insertText(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
            return true;
        }
        return false;
    case QEvent::ContextMenu:
        return showContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
    case QEvent::MouseButtonRelease: {
        // X11 pastes the selection with the middle button.
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton || !clipboard->supportsSelection())
            return false;
        field_->deselect();
        insertText(clipboard->text(QClipboard::Selection));
        return true;
    }
    case QEvent::Drop:
        return forwardDrop(static_cast<QDropEvent*>(event));
    case QEvent::InputMethod:
        cleanCommit(static_cast<QInputMethodEvent*>(event));
        return false;
    default:
        return false;
    }
}

bool FieldTextGuard::showContextMenu(const QPoint& globalPos)
{
    QMenu* menu = field_->createStandardContextMenu();
    if (!menu)
        return false;
    for (QAction* paste : menu->actions()) {
        if (!isPasteAction(paste))
            continue;
        QObject::disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this,
                [this] { insertText(QGuiApplication::clipboard()->text(QClipboard::Clipboard)); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
    return true;
}

bool FieldTextGuard::forwardDrop(QDropEvent* event)
{
    const QMimeData* dropped = event->mimeData();
    // Text moved within the field already keeps the rule.
    if (event->source() == field_ || !dropped || !dropped->hasText())
        return false;
    const int at = field_->cursorPositionAt(event->position().toPoint());
    const FieldText::Edit e = FieldText::insert(rule_, field_->text(), at, 0, dropped->text());
    // The field does its own drop (caret, drag cursor) with the cleaned text.
    QMimeData clean;
    clean.setText(e.inserted);
    QDropEvent copy(event->position(), event->possibleActions(), &clean, event->buttons(), event->modifiers());
    copy.setDropAction(event->dropAction());
    {
        const QScopedValueRollback<bool> passing(forwarding_, true);
        QCoreApplication::sendEvent(field_, &copy);
    }
    event->setDropAction(copy.dropAction());
    event->setAccepted(copy.isAccepted());
    return true;
}

void FieldTextGuard::cleanCommit(QInputMethodEvent* event)
{
    if (event->commitString().isEmpty())
        return;
    // Where the commit lands once the field has removed the selection and the replaced range.
    QString base = field_->text();
    int caret = field_->cursorPosition();
    if (field_->hasSelectedText()) {
        caret = field_->selectionStart();
        base.remove(caret, field_->selectedText().size());
    }
    const qsizetype at = std::clamp<qsizetype>(caret + event->replacementStart(), 0, base.size());
    base.remove(at, event->replacementLength());
    const FieldText::Edit e = FieldText::insert(rule_, base, at, 0, event->commitString());
    event->setCommitString(e.inserted, event->replacementStart(), event->replacementLength());
}

}  // namespace cubwave
