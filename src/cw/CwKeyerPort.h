#pragma once

#include <QChar>
#include <QString>

#include <functional>

namespace cubwave {

// What the main window asks of the CW keyer: the function keys, keyboard CW, the speed steps and
// Esc. The sender behind it owns the buffer, the sending and keyboard-mode flags and the repeat.
class CwKeyerPort {
public:
    virtual ~CwKeyerPort() = default;

    // A keying interface is chosen; without one the function and arrow keys do nothing here.
    virtual bool configured() const = 0;
    // A function key (112..120, 122, 124 for F10).
    virtual void functionKey(int keyCode) = 0;
    // Keyboard CW: the character joins the send buffer and sending starts.
    virtual void typeCharacter(QChar character) = 0;
    // Keyboard CW: removes the last character still waiting; false when none was.
    virtual bool backspace() = 0;
    // Nothing more is sent: the waiting text, the keyer's own buffer included, is dropped.
    virtual void clear() = 0;
    // Text is on its way out, from the pump or from the WinKey keyer.
    virtual bool busy() const = 0;
    // Called with the new state whenever busy() changes.
    virtual void onBusyChanged(std::function<void(bool busy)> listener) = 0;
    // What the sending asks of the main window: "!" reached with a call in the call field
    // commits the contact; the status line shows the unsent rest or why sending stopped.
    virtual void onWindowRequests(std::function<void()> commitContact, std::function<void(const QString&)> showStatus) = 0;
    // Any key in the main window ends the F1 repeat.
    virtual void cancelRepeat() = 0;
    virtual bool keyboardMode() const = 0;
    // Returns the new state.
    virtual bool toggleKeyboardMode() = 0;
    virtual void speedUp() = 0;
    virtual void speedDown() = 0;
    virtual QString speedText() const = 0;
    // The main window's call field as it changes, for the messages that send it.
    virtual void setCallField(const QString& call) = 0;
    // Called with true when a sending starts keying a real line (not port "0", not "None") and
    // with false when it ends: the main window's transmit indicator.
    virtual void onTransmitChanged(std::function<void(bool onAir)>) {}
    // Drops every keying line at once: the one door for "no transmitter left keyed".
    virtual void releaseAll() = 0;
    // Shutdown: the CW settings and their keying line first, the WinKey keyer last of all.
    virtual void unload() = 0;
    virtual void unloadWinKey() = 0;
};

// No CW keyer in this build: nothing is configured and nothing is ever sent.
class AbsentCwKeyer final : public CwKeyerPort {
public:
    bool configured() const override { return false; }
    void functionKey(int) override {}
    void typeCharacter(QChar) override {}
    bool backspace() override { return false; }
    void clear() override {}
    bool busy() const override { return false; }
    void onBusyChanged(std::function<void(bool)>) override {}
    void onWindowRequests(std::function<void()>, std::function<void(const QString&)>) override {}
    void cancelRepeat() override {}
    bool keyboardMode() const override { return keyboardMode_; }
    bool toggleKeyboardMode() override { return keyboardMode_ = !keyboardMode_; }
    void speedUp() override {}
    void speedDown() override {}
    QString speedText() const override { return {}; }
    void setCallField(const QString&) override {}
    void releaseAll() override {}
    void unload() override {}
    void unloadWinKey() override {}

private:
    bool keyboardMode_ = false;
};

}  // namespace cubwave
