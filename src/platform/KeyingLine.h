#pragma once

#include <QString>

namespace cubwave {

// A line that keys a transmitter: a serial port's DTR or RTS, or a parallel port's control
// register. setKeyed is called from the keying thread while a character is timed; everything
// else about the line happens on the window thread between characters.
class KeyingLine {
public:
    virtual ~KeyingLine() = default;
    // False when the device refused; errorText() then says why.
    virtual bool setKeyed(bool down) = 0;
    virtual QString errorText() const { return {}; }
};

// Port "0": characters are timed but no line moves.
class NullKeyingLine final : public KeyingLine {
public:
    bool setKeyed(bool) override { return true; }
};

}  // namespace cubwave
