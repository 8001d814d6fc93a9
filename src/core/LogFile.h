#pragma once

#include "core/FileWrite.h"
#include "core/LogLine.h"
#include "core/LogStore.h"
#include "core/QsoRecord.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace cubwave {

struct LogReadResult {
    bool ok = false;
    QString reason;  // why the file was refused, without the line
    int line = 0;    // the line that stopped the reading; 0 when the file as a whole was refused
    std::vector<QsoRecord> records;

    // "line N: <reason>", or the reason alone when no line is to blame.
    QString describe() const;
    // The same after the file's name, as the operator reads it under the "File Error" text:
    // "log.txt line N: <reason>" or "log.txt: <reason>".
    QString problem(const QString& fileName) const;
};

// "log.txt": one record per line, lines ending in CR LF, no header. The writer refuses, writing
// nothing, every record and every file the reader would refuse, so each log it writes reloads.
class LogFile {
public:
    static constexpr qint64 kMaxLineBytes = LogLine::kMaxBytes;
    // A kilobyte for each contact the store can hold.
    static constexpr qint64 kMaxFileBytes = LogStore::kCapacity * 1024LL;

    explicit LogFile(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }

    LogReadResult read() const;
    static LogReadResult parse(const QByteArray& bytes);
    static QByteArray serialize(const std::vector<QsoRecord>& records);

    // Appends one record and syncs it to the device; a last line left without its break (a
    // file saved by an editor) gets it first.
    WriteResult append(const QsoRecord& record) const;
    // Replaces the whole file atomically.
    WriteResult rewrite(const std::vector<QsoRecord>& records) const;

private:
    QString path_;
};

}  // namespace cubwave
