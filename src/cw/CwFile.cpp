#include "cw/CwFile.h"

#include "core/FileRead.h"
#include "cw/CwNumber.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

namespace cubwave {

namespace {

QString quoted(const QString& text) { return QLatin1Char('"') + CwFile::storable(text) + QLatin1Char('"'); }

bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

QString decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);  // an editor that saved in a legacy code page
    return text;
}

}  // namespace

QStringList CwFile::values(const QString& text)
{
    QStringList out;
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        while (pos < n && (text[pos] == u' ' || text[pos] == u'\t'))
            ++pos;
        QString value;
        if (pos < n && text[pos] == u'"') {
            // A value never runs past its line, so a stray quote cannot shift the lines after it.
            qsizetype close = pos + 1;
            while (close < n && text[close] != u'"' && !isLineEnd(text[close]))
                ++close;
            value = text.mid(pos + 1, close - pos - 1);
            pos = close < n && text[close] == u'"' ? close + 1 : close;
            // Whatever follows the closing quote up to the separator is not part of the value.
            while (pos < n && text[pos] != u',' && !isLineEnd(text[pos]))
                ++pos;
        } else {
            const qsizetype start = pos;
            while (pos < n && text[pos] != u',' && !isLineEnd(text[pos]))
                ++pos;
            value = text.mid(start, pos - start).trimmed();
        }
        out.append(value);
        if (pos < n && text[pos] == u',') {
            ++pos;
            if (pos >= n)
                out.append(QString());
            continue;
        }
        if (pos < n && text[pos] == u'\r')
            ++pos;
        if (pos < n && text[pos] == u'\n')
            ++pos;
    }
    return out;
}

CwSettings CwFile::parse(const QByteArray& bytes, const CwSettings& defaults)
{
    CwSettings s = defaults;
    if (bytes.size() > kMaxBytes)
        return s;
    const QStringList v = values(decode(bytes));
    const auto has = [&v](int line) { return v.size() >= line; };
    const auto at = [&v](int line) { return v[line - 1]; };

    for (int line = 1; line <= 8; ++line) {
        if (!has(line))
            return s;
        s.messages[line - 1] = at(line);
    }
    if (!has(9))
        return s;
    s.messages[8] = at(9).isEmpty() ? kEmptyF9 : at(9);
    if (!has(10))
        return s;
    s.port = at(10);
    if (!has(11))
        return s;
    s.speedWpm = at(11);
    if (!has(12))
        return s;
    s.messages[CwSettings::kF10] = at(12);
    if (!has(13))
        return s;
    s.messages[CwSettings::kF11] = at(13);
    if (!has(14))
        return s;
    s.wordSpace = at(14);
    if (!has(15))
        return s;
    const auto iface = CwNumber::parse(at(15));
    if (!iface)
        return s;
    s.cwInterface = kCwNone;
    for (int known : {kCwRts, kCwDtr, kCwPrinter, kCwWinKey}) {
        if (*iface == known)
            s.cwInterface = known;
    }
    if (!has(16))
        return s;
    s.address = at(16);
    if (!has(17))
        return s;
    const auto display = CwNumber::parse(at(17));
    if (!display || (*display != 0 && *display != 1))
        return s;
    s.displayText = *display == 1;
    if (!has(18))
        return s;
    s.repeatSeconds = at(18);
    return s;
}

QByteArray CwFile::serialize(const CwSettings& s)
{
    QStringList lines;
    for (int i = 0; i < 9; ++i)
        lines << quoted(s.messages[i]);
    lines << quoted(s.port) << quoted(s.speedWpm) << quoted(s.messages[CwSettings::kF10])
          << quoted(s.messages[CwSettings::kF11]) << quoted(s.wordSpace)
          << QString::number(s.cwInterface) << quoted(s.address)
          << QString::number(s.displayText ? 1 : 0) << quoted(s.repeatSeconds);
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QString CwFile::storable(const QString& text)
{
    QString out = text;
    out.remove(QLatin1Char('"'));
    out.remove(QLatin1Char('\r'));
    out.remove(QLatin1Char('\n'));
    return out;
}

QString CwFile::locate(const QString& dir)
{
    const QFileInfoList entries = QDir(dir).entryInfoList(QDir::Files | QDir::Hidden, QDir::Time);
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().compare(kReadName, Qt::CaseInsensitive) == 0)
            return entry.absoluteFilePath();  // newest first
    }
    return {};
}

QString CwFile::savePath(const QString& dir)
{
    const QString existing = locate(dir);
    return existing.isEmpty() ? QDir(dir).absoluteFilePath(kWriteName) : existing;
}

CwSettings CwFile::load(const QString& dir, const CwSettings& defaults)
{
    const QString path = locate(dir);
    if (path.isEmpty())
        return defaults;
    const FileBytes file = readFileBytes(path, kMaxBytes);
    if (!file.ok)
        return defaults;
    return parse(file.bytes, defaults);
}

WriteResult CwFile::save(const QString& dir, const CwSettings& settings)
{
    return replaceFileAtomically(savePath(dir), serialize(settings));
}

}  // namespace cubwave
