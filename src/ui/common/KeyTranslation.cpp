#include "ui/common/KeyTranslation.h"

#include "core/KeyCodes.h"

#include <QKeyEvent>

namespace cubwave {

namespace {

int virtualKeyOf(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return key::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return key::Backspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return key::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return key::Enter;
    case Qt::Key_Escape: return key::Esc;
    case Qt::Key_Space: return key::Space;
    case Qt::Key_Left: return key::Left;
    case Qt::Key_Up: return key::Up;
    case Qt::Key_Right: return key::Right;
    case Qt::Key_Down: return key::Down;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_QuoteDbl:
    case Qt::Key_Apostrophe: return 222;
    default: return 255;  // any other key: a code no handler acts on, but never 0
    }
}

}  // namespace

TranslatedKey translateKey(const QKeyEvent& event)
{
    TranslatedKey k;
    k.virtualKey = virtualKeyOf(event.key());
    const Qt::KeyboardModifiers mods = event.modifiers();
    k.shiftMask = (mods & Qt::ShiftModifier ? 1 : 0) | (mods & Qt::ControlModifier ? 2 : 0) |
                  (mods & Qt::AltModifier ? 4 : 0);
    // Some platforms report a modifier key's own press without its modifier bit.
    if (event.key() == Qt::Key_Shift)
        k.shiftMask |= 1;
    else if (event.key() == Qt::Key_Control)
        k.shiftMask |= 2;
    else if (event.key() == Qt::Key_Alt)
        k.shiftMask |= 4;

    const int qtKey = event.key();
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter)
        k.keyAscii = key::Enter;
    else if (qtKey == Qt::Key_Escape)
        k.keyAscii = key::Esc;
    else if (qtKey == Qt::Key_Backspace)
        k.keyAscii = key::Backspace;
    else if (qtKey == Qt::Key_Tab || qtKey == Qt::Key_Backtab || (mods & Qt::AltModifier))
        k.keyAscii = 0;  // focus moves and menu keys type nothing
    else if (mods & Qt::ControlModifier)
        k.keyAscii = (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) ? 1 + (qtKey - Qt::Key_A) : 0;
    else if (!event.text().isEmpty() && event.text()[0].unicode() >= 32 && event.text()[0].unicode() != 127)
        k.keyAscii = event.text()[0].unicode();
    return k;
}

bool isTypingChord(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (!(mods & (Qt::AltModifier | Qt::MetaModifier)) || (mods & Qt::ControlModifier))
        return false;
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace cubwave
