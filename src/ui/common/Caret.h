#pragma once

#include <QLineEdit>

namespace cubwave {

// The caret as the keystroke rules see it: the start of the selection when there is one.
inline int caretOf(const QLineEdit* field)
{
    return field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
}

}  // namespace cubwave
