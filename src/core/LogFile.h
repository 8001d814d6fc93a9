#pragma once

#include "core/FileWrite.h"
#include "core/QsoRecord.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace cubwave {

struct LogReadResult {
    bool ok = false;
    QString reason;  // for the developer; the operator sees the fixed "File Error" text
    std::vector<QsoRecord> records;
};

// "log.txt": one record per line, lines ending in CR LF, no header.
class LogFile {
public:
    static constexpr qint64 kMaxLineBytes = 64 * 1024;

    explicit LogFile(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }

    LogReadResult read() const;
    static LogReadResult parse(const QByteArray& bytes);
    static QByteArray serialize(const std::vector<QsoRecord>& records);

    // Appends one record and syncs it to the device.
    WriteResult append(const QsoRecord& record) const;
    // Replaces the whole file atomically.
    WriteResult rewrite(const std::vector<QsoRecord>& records) const;

private:
    QString path_;
};

}  // namespace cubwave
