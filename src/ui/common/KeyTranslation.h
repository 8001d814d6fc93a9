#pragma once

class QKeyEvent;

namespace cubwave {

// A Qt key event as the window handlers see it: a virtual-key code with the modifier mask
// (1 Shift, 2 Ctrl, 4 Alt) for key-down, and a character code for key-press (0 when the key
// types no character).
struct TranslatedKey {
    int virtualKey = 0;
    int shiftMask = 0;
    int keyAscii = 0;
};

TranslatedKey translateKey(const QKeyEvent& event);

// A key press that carries a character but is held with Alt or the logo key: a command for a
// button or menu, never text for a field. Ctrl chords are left out: fields type nothing for
// them already, and Ctrl+V and friends must keep working.
bool isTypingChord(const QKeyEvent& event);

}  // namespace cubwave
