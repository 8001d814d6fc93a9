#pragma once

#include "cw/WinKeyDriver.h"
#include "cw/WinKeyLink.h"

namespace cubwave {

// The keyer's driver on its serial line behind the door the sending and the window use.
class WinKeyDriverLink final : public WinKeyLink {
public:
    explicit WinKeyDriverLink(WinKeyDriver& driver) : driver_(driver) {}

    bool open(const QString& devicePath, std::function<void(const Opened&)> done) override;
    bool opening() const override { return driver_.opening(); }
    bool isOpen() const override { return driver_.isOpen(); }
    void close() override { driver_.close(); }
    void closeNow() override { driver_.closeNow(); }
    int status() override { return driver_.status(); }
    int sendCharacter(char c) override { return driver_.sendCharacter(static_cast<uchar>(c)); }
    int clearBuffer() override { return driver_.clearBuffer(); }
    int backspace() override { return driver_.backspace(); }
    int setSpeed(int wpm) override { return driver_.setSpeed(toByte(wpm)); }
    int setWeight(int weight) override { return driver_.setWeight(toByte(weight)); }
    int setLeadTail(int leadIn, int tail) override { return driver_.setLeadTail(toByte(leadIn), toByte(tail)); }
    int setRatio(int ratio) override { return driver_.setRatio(toByte(ratio)); }
    int setPinConfig(int pin5) override { return driver_.setPinConfig(toByte(pin5)); }
    int setMode(int mode) override { return driver_.setMode(toByte(mode)); }
    void onLost(std::function<void(const QString&)> listener) override { driver_.onClosedByItself(std::move(listener)); }

private:
    static quint8 toByte(int value) { return static_cast<quint8>(value & 0xFF); }

    WinKeyDriver& driver_;
};

}  // namespace cubwave
