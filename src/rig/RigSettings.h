#pragma once

#include "rig/RigModel.h"

#include <QString>

#include <array>

namespace cubwave {

// How the logging mode follows the radio ("Mode by:").
enum class ModeSource { Rig = 1, Frequency = 2, DontUse = 3 };

// The rig window's settings, as "RigCntrl.txt" keeps them. The defaults are what a first start
// shows: no radio, the 4800 8N2 line most radios in the list use, medium polling, the band
// following the radio's frequency and the mode following the radio.
struct RigSettings {
    // The baud options' texts, as stored (the file pads them to five characters).
    static constexpr std::array<const char*, 9> kBaudTexts{"1200", "2400", "4800", "9600", "14400",
                                                          "19200", "28800", "38400", "56000"};
    static constexpr int kMaxPort = 10;

    QString baudText = QStringLiteral("4800 ");  // five characters, space-padded
    QChar parity = u'N';                         // "O", "N" or "E"
    QChar dataBits = u'8';                       // "7" or "8"
    QChar stopBits = u'2';                       // "1" or "2"
    QString modeQuery;
    QString frequencyQuery;
    int port = 1;               // 1 to 10
    QChar powerLine = u'N';     // "N" none, "R" RTS, "D" DTR
    QChar pollRate = u'M';      // "F", "M", "S" or "R"
    QString rigName = QStringLiteral("None");
    bool convertToHex = false;
    bool useFrequency = true;
    ModeSource modeBy = ModeSource::Rig;

    bool operator==(const RigSettings&) const = default;

    // "4800,N,8,2": the right-trimmed baud text, parity, data and stop bits.
    QString settingsText() const;
    // The rate the line opens at. "56000" opens at 57600, the Ten-Tec radios' rate: 56000 is no
    // standard tty rate and would be 2.8 % off.
    int lineBaudRate() const;
    // The poll timer's interval; one cycle (a send and a read tick) is twice this.
    int pollIntervalMs() const;
    static int pollIntervalMs(QChar pollRate);

    // Selecting a rig in the list: both queries and "Convert to Hex" cleared, then the model's row
    // of defaults; options the row leaves blank keep their values.
    void selectRig(const RigModel& model);

    // Five characters, space-padded, as the file stores a baud text.
    static QString paddedBaud(QStringView baud);
    static bool isBaudText(QStringView trimmedBaud);
};

}  // namespace cubwave
