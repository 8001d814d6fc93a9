#pragma once

#include "cw/MorseTiming.h"

#include <QString>

#include <array>

namespace cubwave {

// The CW keying interface choice, as "cw.txt" stores it.
enum CwInterface : int {
    kCwNone = 0,
    kCwRts = 1,
    kCwDtr = 2,
    kCwPrinter = 3,
    kCwWinKey = 5,
};

// Everything the CW setup window edits: the eleven messages and the keying settings. Texts are
// kept as the operator typed them; the sender reads them as numbers at the moment of use.
struct CwSettings {
    static constexpr int kMessageCount = 11;  // F1..F9, F10, F11
    static constexpr int kF10 = 9;
    static constexpr int kF11 = 10;

    std::array<QString, kMessageCount> messages;
    QString port = QStringLiteral("0");          // serial keying port number, "0" none
    QString speedWpm = QStringLiteral("13");
    QString wordSpace = QStringLiteral("0");     // units added to (or taken from) the space
    int cwInterface = kCwNone;
    QString address = QStringLiteral("&H378");   // parallel port base address
    bool displayText = true;                     // show the unsent rest on the main window
    QString repeatSeconds = QStringLiteral("0");  // F1 repeat interval

    // Kept in the settings store, not in "cw.txt".
    TimingMethod method = TimingMethod::Timer;
    double loopOffset = 0;  // counting-loop passes per 60 ms; 0 not yet calibrated

    bool operator==(const CwSettings&) const = default;

    // The word-space adjustment as a number, at least -8; text that is not a number is 0.
    qint64 wordSpaceUnits() const;
    // The F1 repeat interval in whole milliseconds; 0 when the text is not a number from 0 up
    // to but not including 60.
    int repeatIntervalMs() const;
};

}  // namespace cubwave
