#pragma once

class QAbstractButton;
class QWidget;

namespace cubwave {

// The keys every settings window shares: Esc does what the window's "Done" does, and a chord
// (Alt or the logo key with a character key) never types into one of its fields. Call it once
// the window's fields exist; its own key rules on those fields run after this.
void useSettingsWindowKeys(QWidget* window, QAbstractButton* done);

}  // namespace cubwave
