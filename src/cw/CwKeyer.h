#pragma once

#include "cw/CharacterKeyer.h"
#include "cw/CwKeyerPort.h"
#include "cw/CwKeyingLines.h"
#include "cw/CwSender.h"
#include "cw/WinKeyKeyer.h"

#include <QObject>

#include <functional>

namespace cubwave {

// The CW keyer the main window talks to: the sender, its keying thread and its keying lines.
// The serial line, the parallel ports and the timer are the caller's, so the program gives the
// system's and tests give recording ones.
//
// With the WinKey interface the text goes to the WinKey keyer given with setWinKey.
class CwKeyer final : public QObject, public CwKeyerPort {
    Q_OBJECT

public:
    CwKeyer(KeyingTimer& timer, SerialLine& serial, ParallelPorts& parallel, std::function<SerialPortMap()> portMap,
            SerialLineSharing* sharing = nullptr, QObject* parent = nullptr);
    ~CwKeyer() override;

    CwSender& sender() { return sender_; }
    CwKeyingLines& lines() { return lines_; }
    // The WinKey keyer behind interface 5; without one that interface sends nothing.
    void setWinKey(WinKeyKeyer* winKey);
    // A text for the main window's status line from the CW windows (a port that cannot be opened).
    void showStatus(const QString& text);

    bool configured() const override;
    void functionKey(int keyCode) override;
    void typeCharacter(QChar character) override;
    bool backspace() override;
    void clear() override;
    bool busy() const override;
    void onBusyChanged(std::function<void(bool busy)> listener) override;
    void onWindowRequests(std::function<void()> commitContact, std::function<void(const QString&)> showStatus) override;
    void onTransmitChanged(std::function<void(bool onAir)> listener) override;
    // A sending that keys a real line is running.
    bool onAir() const { return onAir_; }
    void cancelRepeat() override;
    bool keyboardMode() const override;
    bool toggleKeyboardMode() override;
    void speedUp() override;
    void speedDown() override;
    QString speedText() const override;
    void setCallField(const QString& call) override;
    void releaseAll() override;
    void unload() override;
    void unloadWinKey() override;

private:
    CharacterKeyer keyer_;
    CwKeyingLines lines_;
    CwSender sender_;
    std::function<void(bool)> busyListener_;
    std::function<void()> commitContact_;
    std::function<void(const QString&)> showStatus_;
    QString stopReason_;  // why the current sending stopped, once it has
    SerialLineSharing* sharing_;
    WinKeyKeyer* winKey_ = nullptr;
    bool busy_ = false;  // as last told to the busy listener
    bool onAir_ = false;
    std::function<void(bool)> transmitListener_;

    void setOnAir(bool on);
    void notifyBusy();
    // Another keying line takes the port: the waiting text and the repeat end, the character on
    // the air finishes, and the serial line closes after it.
    void givePortUp();
};

}  // namespace cubwave
