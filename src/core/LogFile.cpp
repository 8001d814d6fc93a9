#include "core/LogFile.h"

#include "core/FileRead.h"
#include "core/LogLine.h"
#include "core/LogStore.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace cubwave {

namespace {

constexpr qint64 kMaxFileBytes = LogStore::kCapacity * 1024LL;

LogReadResult failure(const QString& reason) { return {false, reason, {}}; }

// The writer puts every field between quotes; a bare field read back gains these two bytes.
constexpr qsizetype kQuoteBytes = 2 * QsoRecord::FieldCount;

// Bytes of the line the writer makes of a record, without its line break.
qint64 formattedLineBytes(const QsoRecord& record)
{
    qint64 bytes = kQuoteBytes + (QsoRecord::FieldCount - 1);
    for (const QString& field : record.fields) {
        for (QChar c : field) {
            const char16_t u = c.unicode();
            // A surrogate pair is four bytes in UTF-8, two for each half.
            bytes += u < 0x80 ? 1 : (u < 0x800 || c.isSurrogate()) ? 2 : 3;
        }
    }
    return bytes;
}

bool hasControlCharacters(QStringView line)
{
    for (QChar c : line) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
            return true;
    }
    return false;
}

}  // namespace

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
        return failure(QStringLiteral("file too large"));
    LogReadResult result;
    const auto lineCount = std::count(bytes.cbegin(), bytes.cend(), '\n') + 1;
    result.records.reserve(static_cast<size_t>(std::min<qsizetype>(lineCount, LogStore::kCapacity)));
    // Each line is decoded into this one buffer, so a reload of a full log does not allocate a
    // string per line; a line never decodes to more UTF-16 units than it has bytes.
    std::vector<QChar> text;
    QStringDecoder decode(QStringDecoder::Utf8);
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
            return failure(QStringLiteral("line %1 is too long").arg(lineNo));
        if (raw.trimmed().isEmpty())
            continue;
        if (text.size() < static_cast<size_t>(raw.size()))
            text.resize(static_cast<size_t>(raw.size()));
        // A fresh state per line, as each line is read on its own.
        decode.resetState();
        const QChar* textEnd = decode.appendToBuffer(text.data(), raw);
        // Logs written by older Windows tools are in a single-byte code page: a line that is
        // no UTF-8 is read as Latin-1 rather than refused, and a rewrite stores it as UTF-8
        // (two bytes for each such character at most).
        qsizetype grownBytes = raw.size();
        if (decode.hasError()) {
            for (qsizetype i = 0; i < raw.size(); ++i)
                text[static_cast<size_t>(i)] = QChar(static_cast<uchar>(raw[i]));
            textEnd = text.data() + raw.size();
            grownBytes = 2 * raw.size();
        }
        const QStringView line(text.data(), textEnd - text.data());
        if (hasControlCharacters(line))
            return failure(QStringLiteral("line %1 holds binary data").arg(lineNo));
        std::optional<QsoRecord> record = LogLine::parse(line);
        if (!record)
            return failure(QStringLiteral("line %1 is malformed").arg(lineNo));
        // The limits hold for the line a rewrite will write too, or an edit could turn a log
        // that loads into one that does not. Only a line near the limit needs counting.
        if (grownBytes + kQuoteBytes > kMaxLineBytes && formattedLineBytes(*record) > kMaxLineBytes)
            return failure(QStringLiteral("line %1 is too long").arg(lineNo));
        rewrittenBytesBound += grownBytes + kQuoteBytes + 2;
        if (static_cast<int>(result.records.size()) >= LogStore::kCapacity)
            return failure(QStringLiteral("more than %1 contacts").arg(LogStore::kCapacity));
        result.records.push_back(std::move(*record));
    }
    if (rewrittenBytesBound > kMaxFileBytes) {
        qint64 rewrittenBytes = 0;
        for (const QsoRecord& r : result.records)
            rewrittenBytes += formattedLineBytes(r) + 2;
        if (rewrittenBytes > kMaxFileBytes)
            return failure(QStringLiteral("file too large"));
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
    return appendAndSync(path_, LogLine::format(record).toUtf8() + "\r\n");
}

WriteResult LogFile::rewrite(const std::vector<QsoRecord>& records) const
{
    return replaceFileAtomically(path_, serialize(records));
}

}  // namespace cubwave
