#pragma once

#include "cw/WinKeyStreamDecoder.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <functional>

namespace cubwave {

class Clock;
class OneShotTimer;
class SerialLine;

// Every wait of the keyer's conversation in one place; tests shrink them.
struct WinKeyTimings {
    // After the port opens, before the first byte: a USB keyer needs a moment to come up.
    int settleMs = 300;
    // The echo test's and host open's answers.
    int replyTimeoutMs = 500;
    // A character handed over without BUSY or its echo by then: ask for the status.
    int busyProbeMs = 500;
    // XOFF held this long: ask whether the keyer is still there (at 5 WPM XOFF lasts long).
    int xoffProbeMs = 5000;
    // A status request unanswered by then: the keyer is gone, close it.
    int probeAnswerMs = 500;
    // How often the line is read while something is under way, and while all is quiet.
    int activeTickMs = 10;
    int idleTickMs = 50;
    // A closing keyer gets its last bytes out for at most this long before the line closes.
    int closeDrainMs = 300;
    // Null commands before the echo test.
    int nullCount = 3;
};

// A WinKey keyer on a serial line at 1200 baud 8N2. Runs on the window thread and never blocks
// it: the open handshake, the pacing of characters and every wait for the keyer advance on a
// timer. Characters go out as the line drains, XOFF allows, and at most kMaxAhead beyond the
// last one the keyer echoed, so a clear always finds little to drop.
class WinKeyDriver {
public:
    // Results of open() and of the operations.
    static constexpr int kSuccess = 0;
    static constexpr int kNoEcho = -1;
    static constexpr int kEchoMismatch = -2;
    static constexpr int kNoOpenResponse = -3;
    static constexpr int kPortOpenFailed = -4;
    static constexpr int kGetStateFailed = -5;
    static constexpr int kSetStateFailed = -6;
    static constexpr int kOpenRunning = -7;  // an open is already under way
    static constexpr int kAlreadyOpen = -8;
    static constexpr int kNotOpen = -9;
    static constexpr int kNotSendable = -10;  // a character outside printable ASCII, dropped
    static constexpr int kQueueFull = -11;

    // status() at or above this: wait before handing over the next character.
    static constexpr int kStatusWait = 5;
    // Characters the driver holds before they go to the line.
    static constexpr int kMaxQueued = 8;
    // Characters on their way to the keyer beyond the last one it echoed.
    static constexpr int kMaxAhead = 4;
    static constexpr quint8 kEchoProbe = 0x55;
    static inline const QString kLineSettings = QStringLiteral("1200,N,8,2");

    // The status label's text for a result; empty for a code that has none.
    static QString resultText(int code);

    WinKeyDriver(SerialLine& line, Clock& clock, OneShotTimer& tick, WinKeyTimings timings = {});
    // Says goodbye to an open keyer (closeNow).
    ~WinKeyDriver();
    WinKeyDriver(const WinKeyDriver&) = delete;
    WinKeyDriver& operator=(const WinKeyDriver&) = delete;

    using OpenDone = std::function<void(int result, quint8 version)>;
    // Opens the port and holds the handshake; done gets the result and the keyer's revision (0
    // when none answered). A result known at once (already open, an open under way, the port
    // refused) reaches done before open() returns.
    void open(const QString& devicePath, OpenDone done);
    bool opening() const { return state_ == State::Settling || state_ == State::AwaitEcho || state_ == State::AwaitRevision; }
    bool isOpen() const { return state_ == State::Open; }
    quint8 version() const { return version_; }
    // Why the last open failed or why the driver closed the keyer by itself.
    QString errorText() const { return error_; }

    // Clear and host close in one write; the line closes once they are out. kNotOpen when
    // neither open nor opening.
    int close();
    // The same, with the line closed before returning: for unload and exit.
    void closeNow();

    // Never blocks. kNotOpen when closed; 0 when idle with nothing handed over since; 1..4 from a
    // hand-over until a status byte sent after the keyer had it reports not busy; kStatusWait or
    // more while the keyer reports XOFF or the driver's own queue is full.
    int status() const;
    // Hands one character over; printable ASCII only.
    int sendCharacter(uchar code);
    // Drops the driver's queue and the keyer's buffer.
    int clearBuffer();
    // Removes the last character not yet sent: from the driver's queue, else in the keyer.
    int backspace();
    int setSpeed(quint8 wpm);
    int setWeight(quint8 weight);
    int setLeadTail(quint8 leadIn, quint8 tail);
    int setRatio(quint8 ratio);
    int setPinConfig(quint8 pins);
    // The operator's mode; echo-back is added.
    int setMode(quint8 operatorMode);

    // The keyer was closed without being asked: the line failed or the keyer stopped answering.
    void onClosedByItself(std::function<void(const QString& reason)> listener) { closedByItself_ = std::move(listener); }
    // The keyer reported the end of sending after the last hand-over.
    void onSendingEnded(std::function<void()> listener) { sendingEnded_ = std::move(listener); }
    // The keyer's speed pot moved (0..63 above its minimum).
    void onSpeedPot(std::function<void(int value)> listener) { speedPot_ = std::move(listener); }

    // The characters the keyer has echoed since the last open, for the operator's display.
    const QByteArray& echoed() const { return echoed_; }
    // Characters handed over and not yet echoed or cleared (queued in the driver included).
    int unsent() const { return int(queue_.size()) + ahead_; }

private:
    enum class State { Closed, Settling, AwaitEcho, AwaitRevision, Open, Closing };
    class Events;

    void tick();
    void arm();
    void finishOpen();
    void failOpen(int result, const QString& reason);
    void pump();
    void readLine();
    void watchKeyer(qint64 now);
    void closeBySelf(const QString& reason);
    void releaseLine();
    bool writeCommand(const QByteArray& bytes);
    int command(const QByteArray& bytes);

    void onStatus(quint8 statusByte);
    void onReply(quint8 value);
    void onEcho(char character);

    SerialLine& line_;
    Clock& clock_;
    OneShotTimer& tick_;
    WinKeyTimings timings_;
    WinKeyStreamDecoder decoder_;

    State state_ = State::Closed;
    OpenDone openDone_;
    qint64 stateSince_ = 0;
    quint8 version_ = 0;
    QString error_;
    int reply_ = -1;

    quint8 operatorMode_ = 0;

    std::deque<char> queue_;
    QByteArray echoed_;
    int ahead_ = 0;  // written to the line, not yet echoed
    // From a hand-over until the keyer reports the end of sending.
    bool awaitingIdle_ = false;
    // BUSY or an echo since the last character went out.
    bool heardSinceWrite_ = false;
    qint64 lastWriteAt_ = 0;
    qint64 lastHeard_ = 0;
    quint8 lastStatus_ = 0xC0;
    qint64 xoffSince_ = -1;
    // A status request is out, unanswered; and it went out after the last character.
    qint64 probeSentAt_ = -1;
    bool probeCoversWrites_ = false;

    std::function<void(const QString&)> closedByItself_;
    std::function<void()> sendingEnded_;
    std::function<void(int)> speedPot_;
};

}  // namespace cubwave
