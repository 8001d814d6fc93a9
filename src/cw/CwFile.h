#pragma once

#include "core/FileWrite.h"
#include "cw/CwSettings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace cubwave {

// The CW message file: 18 values, one per line, CR LF; texts between double quotes without
// escaping, numbers bare. The reader knows it as "cw.txt" and the writer as "CW.txt": one file,
// found without regard to case.
class CwFile {
public:
    static constexpr int kValueCount = 18;
    // Far above 18 lines of messages; a larger file is not a CW message file.
    static constexpr qint64 kMaxBytes = 1024 * 1024;
    static inline const QString kReadName = QStringLiteral("cw.txt");
    static inline const QString kWriteName = QStringLiteral("CW.txt");
    static inline const QString kEmptyF9 = QStringLiteral("VVV DE ");

    // Reads values in order until one is missing or unusable; the ones not reached keep their
    // defaults. An empty F9 message reads as "VVV DE "; an interface other than 0, 1, 2, 3 or 5
    // reads as None. The timing method and loop offset are not in the file and stay as given.
    static CwSettings parse(const QByteArray& bytes, const CwSettings& defaults = {});
    static QByteArray serialize(const CwSettings& settings);

    // Splits text into values the way the file is read: at commas and line ends outside double
    // quotes, quotes dropped, bare values trimmed.
    static QStringList values(const QString& text);

    // The existing file in dir whose name is "cw.txt" in any case (the newest when there are
    // several), or an empty text.
    static QString locate(const QString& dir);
    // Where "Done" writes: the existing file, else dir/"CW.txt".
    static QString savePath(const QString& dir);

    static CwSettings load(const QString& dir, const CwSettings& defaults = {});
    // Writes through a synced temporary file renamed into place, so a failure keeps the old
    // file whole; the result carries the system's reason.
    static WriteResult save(const QString& dir, const CwSettings& settings);

    // A value as it may be stored: no double quote (it would end the value early and shift every
    // later line) and no line break.
    static QString storable(const QString& text);
};

}  // namespace cubwave
