#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace cubwave {

// The hex text of the query boxes ("FE FE 64 E0 03 FD") and of the unprocessed-reply label.
class HexText {
public:
    // Pairs of hex digits at character positions 1, 4, 7, … (one separator character between
    // pairs), each pair one byte; exactly maxBytes pairs when maxBytes >= 0. Nothing when a pair
    // is not two hex digits, too few pairs are there, or stray characters follow the last pair,
    // so a mistyped query sends nothing rather than a wrong byte.
    static std::optional<QByteArray> spacedToBytes(QStringView text, int maxBytes = -1);
    // A hand-typed hex command: as spacedToBytes, and a hex digit where a separator belongs makes
    // it malformed too ("FEFE64" is bytes typed run together, not FE E6).
    static std::optional<QByteArray> typedToBytes(QStringView text);
    // Each byte as two upper-case hex digits and a space: "FE FE 64 ".
    static QString bytesToSpaced(QByteArrayView bytes);
    // The value of one hex digit, or -1.
    static int digitValue(char16_t c);
};

}  // namespace cubwave
