#pragma once

#include <QString>

namespace cubwave {

// The keyer's settings as its setup window holds them: the texts of the fields, the port byte
// and the two option bytes.
struct WinKeySettings {
    // Pin 5 configuration bytes.
    static constexpr int kKey5Out3Off = 8;
    static constexpr int kKey5Off3Out = 4;
    static constexpr int kTone = 6;
    static constexpr int kPtt = 5;
    // Keyer mode bytes.
    static constexpr int kIambicB = 0;
    static constexpr int kIambicA = 16;
    static constexpr int kUltimatic = 32;
    static constexpr int kBug = 48;

    int comPort = 0;
    QString speedWpm = QStringLiteral("18");
    QString weight = QStringLiteral("50");
    QString leadIn = QStringLiteral("0");
    QString tail = QStringLiteral("0");
    QString ratio = QStringLiteral("50");
    int pin5 = kTone;
    int mode = kIambicB;

    bool operator==(const WinKeySettings&) const = default;
};

}  // namespace cubwave
