#pragma once

#include <functional>

class QKeyEvent;
class QLineEdit;

namespace cubwave {

// A dialog field's keystroke rules on a key press: the rules see the character code and may
// change it (0 drops the key). Keys that type nothing keep their usual meaning.
struct FieldKeyFilter {
    using Rules = std::function<void(QLineEdit* field, int& keyAscii)>;

    Rules rules;
    bool escIsSwallowed = false;    // else Esc closes the window like its close box
    bool enterIsSwallowed = false;  // once the rules have seen it

    // True when the key was used up; false when the field should handle it as usual.
    bool keyPress(QLineEdit* field, const QKeyEvent& event) const;
};

}  // namespace cubwave
