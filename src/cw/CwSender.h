#pragma once

#include "cw/CharacterKeyer.h"
#include "cw/CwLineSource.h"
#include "cw/CwSettings.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

namespace cubwave {

// Sends text as CW: the eleven messages with their macros, keyboard CW, the F1 repeat and the
// speed steps. Owns the send buffer, the sending and keyboard-mode flags and the repeat. The
// pump runs on the window thread and hands one character at a time to the keying thread, so
// Esc, function keys and typing act between characters while the current one finishes.
class CwSender : public QObject {
    Q_OBJECT

public:
    static inline const QString kKeyboardModeOnText = QStringLiteral("Keyboard CW Mode is on.  Press F12 to exit.");
    static inline const QString kSpeedInvalidText =
        QStringLiteral("CW speed must be above 0 WPM: nothing was sent.");
    // %1 the measured and %2 the expected length of the element, in ms.
    static inline const QString kLoopMissedText =
        QStringLiteral("CW Loop timing is off (%1 ms for %2 ms): the rest of this sending uses Timer.");

    CwSender(CharacterKeyer& keyer, CwLineSource& lines, QObject* parent = nullptr);

    const CwSettings& settings() const { return settings_; }
    void setSettings(const CwSettings& settings);
    // The main window's call field as it changes; "$" sends it and "!" needs it non-empty.
    void setCallField(const QString& text) { callField_ = text; }

    // A function key (112..120, 122, 124 for F10), or in keyboard CW a character code below 112.
    void fKeyCW(int keyCode);
    // Starts sending the buffer, or lets the running pump take what was added.
    void loopThroughCwBuffer();
    // Keyboard CW: the typed character, upper-cased, joins the buffer and sends.
    void typeCharacter(QChar c);
    // Removes the last character still waiting; false when none was.
    bool removeLastWaiting();
    // Esc: nothing more is sent; the character on the air finishes, a space is cut short.
    void stopSending();
    // Any key in the main window ends the F1 repeat and drops what it had not sent.
    void cancelRepeat();
    bool toggleKeyboardMode();
    void speedUp();
    void speedDown();
    // Replaces the waiting text (code practice sends one character at a time this way).
    void setBuffer(const QString& text);
    // Runs fn when no character is on the air: opening, closing or switching the line.
    void runBetweenCharacters(std::function<void()> fn);
    // Measures the counting loop on the keying thread; loopOffsetChanged reports it.
    void calibrateLoop();

    // The text not yet started, first character next.
    QString buffer() const;
    bool isSending() const { return sending_; }
    bool keyboardMode() const { return keyboardMode_; }
    bool repeating() const { return repeat_; }
    bool repeatTimerActive() const { return repeatTimer_.isActive(); }

    // With the WinKey interface the keyer takes the text: this runs whenever there is text for
    // it, and the keyer takes it character by character with the calls below.
    void setWinKeyTransmit(std::function<void()> transmit) { winKeyTransmit_ = std::move(transmit); }
    // Appends text for the WinKey keyer (its setup window's tests and type-ahead) and starts the
    // hand-over when none runs.
    void appendForWinKey(const QString& text);
    // The next character waiting for the WinKey keyer; null when none is.
    QChar firstWaiting() const { return buffer_.isEmpty() ? QChar() : buffer_[0]; }
    void dropFirstWaiting();
    // The WinKey keyer has all the text, or took none: the hand-over has ended.
    void endWinKeyHandOver();
    // The WinKey keyer reports that it has sent everything: the F1 repeat's gap starts now.
    void winKeySendingEnded();

signals:
    void sendingChanged(bool sending);
    // The pump has ended: what waits for "after sending" goes on.
    void sendingEnded();
    // The main window's dialog label, when the display option is on.
    void dialogTextChanged(const QString& text);
    // "!" was reached with a call in the call field.
    void commitRequested();
    // Why the sending stopped, or changed its timing, for the status line.
    void problem(const QString& text);
    // A serial keying port that cannot be opened: the message box.
    void keyingPortInvalid(const QString& title, const QString& text);
    void speedChanged(const QString& speedText);
    void loopOffsetChanged(double loopOffset);
    void characterStarted(QChar character);

private:
    void feed();
    void scheduleFeed();
    void reclaimWaiting();
    void finish();
    void abandon(const QString& why);
    void onCharacterStarted(QChar c);
    void onCharacterEnded(QChar c, CharacterKeyer::Outcome outcome, const QString& reason);
    void runDeferred();
    void startRepeatTimer();
    void startWinKeyHandOver();
    void armRepeatTimer();
    void onRepeatTimer();
    void pushTiming();

    CharacterKeyer& keyer_;
    CwLineSource& lines_;
    CwSettings settings_;
    QString callField_;
    QString buffer_;
    bool sending_ = false;
    bool keyboardMode_ = false;
    bool repeat_ = false;
    bool feedScheduled_ = false;
    bool abandoned_ = false;  // this sending has stopped for a reason already reported
    bool winKeyHandOver_ = false;  // this sending goes to the WinKey keyer, not the keying thread
    // Characters handed to the keyer whose end has not been handled here yet. The keyer reports
    // start and end through queued events, so it can be idle while they still wait: the sending
    // ends only after the last of them, or the display and "!" would run out of order.
    int inFlight_ = 0;
    QTimer repeatTimer_;
    qint64 sendingStartNs_ = 0;  // on the keying clock
    qint64 repeatDueNs_ = 0;     // on the keying clock: the F1 repeat starts no sooner
    std::vector<std::function<void()>> deferred_;
    std::function<void()> winKeyTransmit_;
};

}  // namespace cubwave
