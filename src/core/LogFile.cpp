#include "core/LogFile.h"

#include "core/FileRead.h"

#include <QFileInfo>

#include <algorithm>

namespace cubwave {

namespace {

LogReadResult failure(const QString& reason, int line = 0) { return {false, reason, line, {}}; }

// The writer puts every field between quotes; a bare field read back gains these two bytes.
constexpr qsizetype kQuoteBytes = 2 * QsoRecord::FieldCount;

// A record line holds at least its ten commas and a line feed, and its rewritten form at most
// twice its bytes (single-byte text turned UTF-8) plus the quotes: under five times as much.
constexpr qint64 kRewriteGrowth = 5;

QString tooLarge() { return QStringLiteral("the log would be larger than %1 bytes").arg(LogFile::kMaxFileBytes); }

}  // namespace

QString LogReadResult::describe() const
{
    return line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(reason) : reason;
}

QString LogReadResult::problem(const QString& fileName) const
{
    return fileName + (line > 0 ? QStringLiteral(" ") : QStringLiteral(": ")) + describe();
}

LogReadResult LogFile::read() const
{
    const FileBytes in = readFileBytes(path_, kMaxFileBytes);
    if (!in.ok)
        return failure(in.error);
    return parse(in.bytes);  // refuses a file over the limit
}

LogReadResult LogFile::parse(const QByteArray& bytes)
{
    if (bytes.size() > kMaxFileBytes)
        return failure(QStringLiteral("the file is larger than %1 bytes").arg(kMaxFileBytes));
    LogReadResult result;
    const auto lineCount = std::count(bytes.cbegin(), bytes.cend(), '\n') + 1;
    result.records.reserve(static_cast<size_t>(std::min<qsizetype>(lineCount, LogStore::kCapacity)));
    // Each line is decoded into this one buffer, so a reload of a full log does not allocate a
    // string per line.
    std::vector<QChar> text;
    qsizetype start = 0;
    int lineNo = 0;
    qint64 rewrittenBytesBound = 0;  // at least the size of the file a rewrite would write
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        ++lineNo;
        QByteArrayView raw(bytes.constData() + start, end - start);
        start = end + 1;
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (raw.size() > kMaxLineBytes)
            return failure(QStringLiteral("the line is longer than %1 bytes").arg(kMaxLineBytes), lineNo);
        if (raw.trimmed().isEmpty())
            continue;
        // Logs written by older Windows tools are in a single-byte code page: a line that is no
        // UTF-8 is read as Latin-1 rather than refused, and a rewrite stores it as UTF-8 (two
        // bytes for each such character at most).
        bool latin1 = false;
        const QStringView line = decodeTextLine(raw, text, &latin1);
        const qsizetype grownBytes = latin1 ? 2 * raw.size() : raw.size();
        // Checked on the whole line: a control character at the edge of a bare field would be
        // trimmed away before the record's own check could see it.
        if (std::any_of(line.begin(), line.end(), LogLine::isRefusedCharacter))
            return failure(QStringLiteral("the line holds a control character or binary data"), lineNo);
        std::optional<QsoRecord> record = LogLine::parse(line);
        if (!record)
            return failure(QStringLiteral("the line is not eleven quoted fields separated by commas "
                                          "(a quote too many or too few, or a field missing)"),
                           lineNo);
        // The writer's rule holds for what was read, or an edit could turn a log that loads into
        // one the writer refuses. A parsed line has no quote, control character or broken
        // character in its fields, so only a line that may grow past the limit needs the check.
        if (grownBytes + kQuoteBytes > kMaxLineBytes) {
            const QString refused = LogLine::refusal(*record);
            if (!refused.isEmpty())
                return failure(refused, lineNo);
        }
        rewrittenBytesBound += grownBytes + kQuoteBytes + 2;
        if (static_cast<int>(result.records.size()) >= LogStore::kCapacity)
            return failure(QStringLiteral("more than %1 contacts").arg(LogStore::kCapacity), lineNo);
        result.records.push_back(std::move(*record));
    }
    if (rewrittenBytesBound > kMaxFileBytes) {
        qint64 rewrittenBytes = 0;
        for (const QsoRecord& r : result.records)
            rewrittenBytes += LogLine::formattedBytes(r) + 2;
        if (rewrittenBytes > kMaxFileBytes)
            return failure(tooLarge());
    }
    result.ok = true;
    return result;
}

QByteArray LogFile::serialize(const std::vector<QsoRecord>& records)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(records.size()) * 96);
    for (const QsoRecord& r : records) {
        out += LogLine::format(r).toUtf8();
        out += "\r\n";
    }
    return out;
}

WriteResult LogFile::append(const QsoRecord& record) const
{
    const QString refused = LogLine::refusal(record);
    if (!refused.isEmpty())
        return {false, QStringLiteral("The contact was not saved: %1.").arg(refused)};
    const QByteArray line = LogLine::format(record).toUtf8() + "\r\n";
    // The reader limits the file, and counts the room a rewrite would need: a file edited by
    // hand (bare fields, single-byte text) can need more than it takes now. Only near the limit
    // can either matter, and there the file is checked whole, as the reader will see it.
    const qint64 size = QFileInfo(path_).size();  // 0 when there is no file yet
    if (kRewriteGrowth * size + line.size() > kMaxFileBytes) {
        const FileBytes in = readFileBytes(path_, kMaxFileBytes);
        if (!in.ok)
            return {false, in.error};
        QByteArray after = in.bytes;
        if (!after.isEmpty() && !after.endsWith('\n'))
            after += after.endsWith('\r') ? "\n" : "\r\n";  // as the append will end it
        after += line;
        const LogReadResult check = parse(after);
        if (!check.ok) {
            const QString why = after.size() > kMaxFileBytes ? tooLarge() : check.describe();
            return {false, QStringLiteral("The contact was not saved: the log would no longer load (%1).").arg(why)};
        }
    }
    return appendLineAndSync(path_, line);
}

WriteResult LogFile::rewrite(const std::vector<QsoRecord>& records) const
{
    if (records.size() > static_cast<size_t>(LogStore::kCapacity))
        return {false, QStringLiteral("The log was not saved: more than %1 contacts.").arg(LogStore::kCapacity)};
    qint64 bytes = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const QString refused = LogLine::refusal(records[i]);
        if (!refused.isEmpty())
            return {false, QStringLiteral("The log was not saved: contact %1 cannot be written, as %2.")
                               .arg(i + 1)
                               .arg(refused)};
        bytes += LogLine::formattedBytes(records[i]) + 2;
    }
    if (bytes > kMaxFileBytes)
        return {false, QStringLiteral("The log was not saved: %1.").arg(tooLarge())};
    return replaceFileAtomically(path_, serialize(records));
}

}  // namespace cubwave
