#pragma once

#include "core/FileWrite.h"

#include <QByteArray>
#include <QString>

namespace cubwave {

// The keyer window's settings as the file keeps them: texts as typed, bytes as chosen.
struct WinKeySettings {
    quint8 port = 0;
    QString speed = QStringLiteral("18");
    QString weight = QStringLiteral("50");
    QString leadIn = QStringLiteral("0");
    QString tail = QStringLiteral("0");
    QString ratio = QStringLiteral("50");
    quint8 pins = 6;  // "Tone"
    quint8 mode = 0;  // "Iambic B"
};

// "WK.txt" in the program data folder: eight values, one per line, CR LF; the port, pin and mode
// bare, the rest quoted. The last two lines may be missing.
class WinKeyFile {
public:
    static inline const QString kName = QStringLiteral("WK.txt");
    // Far above eight short lines.
    static constexpr qint64 kMaxBytes = 64 * 1024;

    // Values in order until one is missing; those not reached keep their defaults. A port that is
    // no number or does not fit a byte reads as 0; a pin or mode byte that is not one of the
    // window's options keeps its default.
    static WinKeySettings parse(const QByteArray& bytes, const WinKeySettings& defaults = {});
    static QByteArray serialize(const WinKeySettings& settings);

    static QString path(const QString& dataFolder);
    // The defaults when there is no file or it cannot be read.
    static WinKeySettings load(const QString& dataFolder, const WinKeySettings& defaults = {});
    // A synced temporary file renamed into place; the result carries the system's reason.
    static WriteResult save(const QString& dataFolder, const WinKeySettings& settings);

    static bool isPinOption(int value) { return value == 4 || value == 5 || value == 6 || value == 8; }
    static bool isModeOption(int value) { return value == 0 || value == 16 || value == 32 || value == 48; }
};

}  // namespace cubwave
