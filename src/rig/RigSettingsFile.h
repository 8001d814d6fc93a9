#pragma once

#include "core/FileWrite.h"
#include "rig/RigSettings.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace cubwave {

// "RigCntrl.txt": fourteen values, one a line, text in double quotes and numbers bare, CR LF:
// baud text (five characters), parity, data bits, stop bits, mode query, frequency query,
// settings text, port, power line, poll rate, rig name, "Convert to Hex", "Use Frequency",
// "Mode by".
class RigSettingsFile {
public:
    static constexpr const char* kFileName = "RigCntrl.txt";
    static constexpr int kLineCount = 14;
    // Fourteen short values; anything much larger is not this file.
    static constexpr qint64 kMaxBytes = 64 * 1024;

    static QByteArray serialize(const RigSettings& settings);
    // Starts from the defaults and takes each value that is there and in range; a short file
    // leaves the rest at their defaults, and so does a value out of range (a port of 0 or 99, an
    // unknown letter or rig name).
    static RigSettings parse(const QByteArray& bytes);

    // The defaults when the file is missing or unreadable.
    static RigSettings read(const QString& path);
    // What read() gives, and why the file could not be used when it exists but was not read: a
    // folder, no permission, larger than kMaxBytes, or NUL bytes (no text file). A missing file
    // is no problem: it has simply not been written yet.
    struct Loaded {
        RigSettings settings;
        std::optional<QString> problem;
    };
    static Loaded load(const QString& path);
    // Replaces the file atomically; the result says why when it could not.
    static WriteResult write(const QString& path, const RigSettings& settings);
};

}  // namespace cubwave
