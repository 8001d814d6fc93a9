#pragma once

#include <QString>

namespace cubwave {

// What the main window and the CW and voice keyers share about sending. One object, owned by
// the main window, handed to the keyer windows.
struct KeyingState {
    int cwInterface = 0;         // 0 none, 1..3 keying lines, 5 the WinKey keyer
    QString cwBuffer;            // text not yet sent
    bool cwSending = false;      // the buffer pump is running
    bool keyboardCwMode = false;
    bool cwRepeat = false;
    bool phoneRepeat = false;
    bool winKeyOpen = false;
    QString currentCall;         // the call field, for the CW messages that insert it
    int winKeyStatus = 0;        // > 0 while the keyer is still sending
};

}  // namespace cubwave
