#include "core/LogFile.h"

#include "core/LogLine.h"
#include "core/LogStore.h"

#include <QFile>
#include <QStringDecoder>

namespace cubwave {

namespace {

constexpr qint64 kMaxFileBytes = LogStore::kCapacity * 1024LL;

LogReadResult failure(const QString& reason) { return {false, reason, {}}; }

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
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file.errorString());
    if (file.size() > kMaxFileBytes)
        return failure(QStringLiteral("file too large"));
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return failure(file.errorString());
    return parse(bytes);
}

LogReadResult LogFile::parse(const QByteArray& bytes)
{
    if (bytes.size() > kMaxFileBytes)
        return failure(QStringLiteral("file too large"));
    LogReadResult result;
    qsizetype start = 0;
    int lineNo = 0;
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
        QStringDecoder decode(QStringDecoder::Utf8);
        const QString line = decode(raw);
        if (decode.hasError() || hasControlCharacters(line))
            return failure(QStringLiteral("line %1 holds binary data").arg(lineNo));
        std::optional<QsoRecord> record = LogLine::parse(line);
        if (!record)
            return failure(QStringLiteral("line %1 is malformed").arg(lineNo));
        if (static_cast<int>(result.records.size()) >= LogStore::kCapacity)
            return failure(QStringLiteral("more than %1 contacts").arg(LogStore::kCapacity));
        result.records.push_back(std::move(*record));
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
