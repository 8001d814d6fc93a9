#pragma once

#include "core/FileWrite.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace cubwave {

// The spot window's settings, as "PackSpot.txt" keeps them.
struct PackSpotSettings {
    QString baudText = QStringLiteral("9600");  // "1200" to "19200"
    QChar parity = u'N';                        // "O", "N" or "E"
    QChar dataBits = u'8';                      // "7" or "8"
    QChar stopBits = u'1';                      // "1" or "2"
    int port = 1;                               // 1 to 10
    QChar powerLine = u'N';                     // "N" none, "R" RTS, "D" DTR
    QString connectionType = QStringLiteral("None");  // as the type list spells it
    bool convertToHex = false;
    int handshaking = 3;  // 1 none, 2 XON/XOFF, 3 RTS/CTS, 4 both
    bool listDxOnly = false;
    bool listDisplay = false;  // "List" chosen rather than "Band Map"
    QString commandHex = QStringLiteral("03");
    QString telnetPort;
    QString telnetHost;

    bool operator==(const PackSpotSettings&) const = default;

    static constexpr int kMaxPort = 10;
    static constexpr std::array<const char*, 6> kBaudTexts{"1200", "2400", "4800", "9600", "14400", "19200"};
    static constexpr std::array<const char*, 4> kConnectionTypes{"None", "TNC", "Telnet", "AGW Packet Engine"};

    // "9600,N,8,1": the baud text, parity, data and stop bits, as the serial line takes them.
    QString settingsText() const;
    // The type list's own spelling of a type named in any case; nothing for an unknown one.
    static std::optional<QString> connectionTypeNamed(QStringView name);
    // The TNC command character's code from its hex digits; nothing for a text that is no hex
    // number or lies outside 00 to FF.
    static std::optional<unsigned char> commandCharacter(QStringView hexText);
};

// "PackSpot.txt": fourteen values, one a line, text in double quotes, numbers bare and booleans
// as #TRUE# or #FALSE#, CR LF: baud, parity, data bits, stop bits, port, power line, connection
// type, "Convert to Hex", handshaking, "List DX Only", "List", command character, Telnet port,
// Telnet host. A value is read back whether quoted or bare.
class PackSpotFile {
public:
    static constexpr const char* kFileName = "PackSpot.txt";
    static constexpr int kLineCount = 14;
    // Fourteen short values; anything much larger is not this file.
    static constexpr qint64 kMaxBytes = 64 * 1024;

    static QByteArray serialize(const PackSpotSettings& settings);
    struct Parsed {
        PackSpotSettings settings;
        // Why the bytes are no spot settings: the line and what is wrong with it. The settings
        // are then the defaults, with the type "None", so nothing opens on a half-read file.
        std::optional<QString> problem;
    };
    static Parsed parse(const QByteArray& bytes);

    struct Loaded {
        PackSpotSettings settings;
        // A message for the operator naming the file, when it exists but could not be used. A
        // missing file is no problem: it has not been written yet.
        std::optional<QString> problem;
    };
    static Loaded load(const QString& path);
    // Replaces the file atomically; the result says why when it could not.
    static WriteResult write(const QString& path, const PackSpotSettings& settings);
};

}  // namespace cubwave
