#pragma once

#include <QString>

#include <functional>

namespace cubwave {

class ContestSession;
class CwKeyerPort;
class MainScreen;
class VoiceKeyerPort;
class WindowLauncher;

// The keys the main window takes before the focused field: Ctrl+letter opens a window, the
// function keys send CW or voice messages, Up and Down step the CW speed, F12 toggles keyboard
// CW, and Esc stops what is being sent or clears the entry line.
class WindowKeys {
public:
    struct Context {
        MainScreen& screen;
        const ContestSession& session;
        CwKeyerPort& cw;
        VoiceKeyerPort& voice;
        WindowLauncher& windows;
        std::function<void()> clearEntryLine;
    };

    explicit WindowKeys(Context context) : c_(std::move(context)) {}

    // The key going down; keyCode becomes 0 when the key is used up.
    void keyDown(int& keyCode, int shift);
    // The character it types; keyAscii becomes 0 when it goes no further.
    void keyPress(int& keyAscii);

private:
    bool phone() const;
    void setStatus(const QString& text);

    Context c_;
    bool shortcutSwallow_ = false;  // a Ctrl key eats the next character typed
};

}  // namespace cubwave
