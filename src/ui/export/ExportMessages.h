#pragma once

#include <QString>

#include <vector>

namespace cubwave {

// The message boxes the export commands share.
struct ExportMessages {
    static const QString kWrittenTitle;     // "File Written Successfully."
    static const QString kWriteErrorTitle;  // "Unable to write file."

    // "The file was successfully written to the directory:", an empty line, the file, ".".
    static QString writtenText(const QString& path);
    // The system's reason, naming the file.
    static QString fileError(const QString& path, const QString& reason);
    // How many contacts logbooks will refuse and their log line numbers, the first 20 of them.
    static QString refusedContactsText(const std::vector<qsizetype>& lines);
};

}  // namespace cubwave
