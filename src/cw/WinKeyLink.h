#pragma once

#include <QString>

#include <functional>

namespace cubwave {

// The keyer's operations as the sending and the setup window use them: the open handshake, the
// buffer, the settings and the status. The driver on a serial line stands behind it in the
// program; tests give a scripted one. Every call returns at once.
class WinKeyLink {
public:
    // Result codes of an open, as the setup window shows them.
    static constexpr int kSuccess = 0;
    static constexpr int kNoEcho = -1;
    static constexpr int kEchoMismatch = -2;
    static constexpr int kNoOpenResponse = -3;
    static constexpr int kComOpenFailed = -4;
    static constexpr int kGetComFailed = -5;
    static constexpr int kSetComFailed = -6;
    static constexpr int kAlreadyOpen = -8;
    static constexpr int kNotOpen = -9;

    struct Opened {
        int code = kNotOpen;
        int version = 0;  // 0: no keyer answered
        QString reason;   // the system's reason when the port itself failed (-4, -5, -6)
    };

    virtual ~WinKeyLink() = default;

    // Starts opening the keyer on the device; done runs once, with a result known at once before
    // open returns. False (done never runs) while an open is already under way.
    virtual bool open(const QString& devicePath, std::function<void(const Opened&)> done) = 0;
    virtual bool opening() const = 0;
    virtual bool isOpen() const = 0;
    // Clears the keyer's buffer and ends the host mode; the line closes once that is out.
    virtual void close() = 0;
    // The same, with the line closed before returning: program end.
    virtual void closeNow() { close(); }

    // 0 idle; 1 to 4 still sending what was handed over; 5 or more: wait before the next character.
    virtual int status() = 0;
    // One character for the keyer's buffer; kNotOpen when closed.
    virtual int sendCharacter(char c) = 0;
    virtual int clearBuffer() = 0;
    virtual int backspace() = 0;
    virtual int setSpeed(int wpm) = 0;
    virtual int setWeight(int weight) = 0;
    virtual int setLeadTail(int leadIn, int tail) = 0;
    virtual int setRatio(int ratio) = 0;
    virtual int setPinConfig(int pin5) = 0;
    virtual int setMode(int mode) = 0;

    // The keyer was closed by the driver itself (the line failed, the keyer stopped answering),
    // with the reason for the status line.
    virtual void onLost(std::function<void(const QString& why)> listener) = 0;
};

}  // namespace cubwave
