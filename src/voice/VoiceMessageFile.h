#pragma once

#include "core/FileWrite.h"
#include "voice/VoiceSettings.h"

#include <QByteArray>
#include <QString>

namespace cubwave {

// The voice message list "wave2.txt": 13 values, one per line, CR LF; texts between double
// quotes without escaping, the PTT line bare (0 RTS, 1 DTR, 2 Parallel). Found in the working
// directory without regard to case.
class VoiceMessageFile {
public:
    static constexpr int kValueCount = 13;
    // Nine paths and four short values; a larger file is not a voice message list.
    static constexpr qint64 kMaxBytes = 256 * 1024;
    static inline const QString kFileName = QStringLiteral("wave2.txt");

    // Reads values in order until one is missing; the ones not reached keep their defaults. A
    // PTT line other than "0", "1" or "2" (an empty line included) keeps the default's.
    static VoiceSettings parse(const QByteArray& bytes, const VoiceSettings& defaults = {});
    // Paths are written without their leading and trailing blanks.
    static QByteArray serialize(const VoiceSettings& settings);

    // The existing file in dir named "wave2.txt" in any case (the newest when there are
    // several), or an empty text.
    static QString locate(const QString& dir);
    // Where "Done" writes: the existing file, else dir/"wave2.txt".
    static QString savePath(const QString& dir);

    struct Loaded {
        bool ok = false;
        QString error;  // why not: no such file, unreadable, too large
        VoiceSettings settings;
    };
    static Loaded load(const QString& dir, const VoiceSettings& defaults = {});
    // Through a synced temporary file renamed into place: a failure keeps the old file whole,
    // and the result carries the system's reason.
    static WriteResult save(const QString& dir, const VoiceSettings& settings);

    // A path the file can hold: no double quote (it would end the value early) and no line
    // break (it would shift every later line).
    static bool storablePath(const QString& path);
};

}  // namespace cubwave
