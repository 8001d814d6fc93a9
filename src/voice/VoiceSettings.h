#pragma once

#include <QString>

#include <array>

namespace cubwave {

// The line that keys the transmitter for a voice message, as "wave2.txt" numbers it.
enum class PttLine : int { Rts = 0, Dtr = 1, Parallel = 2 };

// What the voice setup window edits: the nine messages and the PTT settings. Texts are kept as
// the operator typed them and read as numbers at the moment of use.
struct VoiceSettings {
    static constexpr int kMessageCount = 9;  // F1..F9

    std::array<QString, kMessageCount> paths;   // wave file of each key; empty: no message
    QString port = QStringLiteral("0");          // serial PTT port number, "0" none
    PttLine pttLine = PttLine::Rts;
    QString loopSeconds = QStringLiteral("0");   // F1 repeat interval
    QString address = QStringLiteral("&H378");  // parallel port base address

    bool operator==(const VoiceSettings&) const = default;

    // The serial PTT port: 0 when the field holds no number above 0 (no serial PTT), -1 for a
    // number above 0 that names no port (opening it fails), else the port number.
    int portNumber() const;
    // F1 repeats when the interval field holds a number above 0.
    bool repeats() const;
    // The F1 repeat interval in whole milliseconds; 0 when the text is not a number from 0 up
    // to but not including 60.
    int repeatIntervalMs() const;
};

}  // namespace cubwave
