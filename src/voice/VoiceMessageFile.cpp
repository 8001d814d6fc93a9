#include "voice/VoiceMessageFile.h"

#include "core/FileRead.h"
#include "cw/CwFile.h"

#include <QDir>
#include <QFileInfo>

namespace cubwave {

namespace {

QString quoted(const QString& text) { return QLatin1Char('"') + CwFile::storable(text) + QLatin1Char('"'); }

// UTF-8, or Latin-1 for a file saved by a tool that uses a legacy code page.
QString decode(const QByteArray& bytes)
{
    std::vector<QChar> buffer;
    return decodeTextLine(bytes, buffer).toString();
}

}  // namespace

VoiceSettings VoiceMessageFile::parse(const QByteArray& bytes, const VoiceSettings& defaults)
{
    VoiceSettings s = defaults;
    if (bytes.size() > kMaxBytes)
        return s;
    // The same value layout as the CW message file.
    const QStringList v = CwFile::values(decode(bytes));
    const auto has = [&v](int line) { return v.size() >= line; };
    const auto at = [&v](int line) { return v[line - 1]; };

    for (int line = 1; line <= VoiceSettings::kMessageCount; ++line) {
        if (!has(line))
            return s;
        s.paths[line - 1] = at(line);
    }
    if (!has(10))
        return s;
    s.port = at(10);
    if (!has(11))
        return s;
    const QString line11 = at(11);
    if (line11 == u"0")
        s.pttLine = PttLine::Rts;
    else if (line11 == u"1")
        s.pttLine = PttLine::Dtr;
    else if (line11 == u"2")
        s.pttLine = PttLine::Parallel;
    if (!has(12))
        return s;
    s.loopSeconds = at(12);
    if (!has(13))
        return s;
    s.address = at(13);
    return s;
}

QByteArray VoiceMessageFile::serialize(const VoiceSettings& s)
{
    QStringList lines;
    for (const QString& path : s.paths)
        lines << quoted(path.trimmed());
    lines << quoted(s.port) << QString::number(static_cast<int>(s.pttLine)) << quoted(s.loopSeconds)
          << quoted(s.address);
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QString VoiceMessageFile::locate(const QString& dir)
{
    const QFileInfoList entries = QDir(dir).entryInfoList(QDir::Files | QDir::Hidden, QDir::Time);
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().compare(kFileName, Qt::CaseInsensitive) == 0)
            return entry.absoluteFilePath();  // newest first
    }
    return {};
}

QString VoiceMessageFile::savePath(const QString& dir)
{
    const QString existing = locate(dir);
    return existing.isEmpty() ? QDir(dir).absoluteFilePath(kFileName) : existing;
}

VoiceMessageFile::Loaded VoiceMessageFile::load(const QString& dir, const VoiceSettings& defaults)
{
    const QString path = locate(dir);
    if (path.isEmpty())
        return {false, QStringLiteral("%1 was not found in %2").arg(kFileName, dir), defaults};
    const FileBytes file = readFileBytes(path, kMaxBytes);
    if (!file.ok)
        return {false, file.error, defaults};
    if (file.bytes.size() > kMaxBytes)
        return {false, QStringLiteral("%1 is larger than a voice message list can be").arg(path), defaults};
    return {true, {}, parse(file.bytes, defaults)};
}

WriteResult VoiceMessageFile::save(const QString& dir, const VoiceSettings& settings)
{
    return replaceFileAtomically(savePath(dir), serialize(settings));
}

bool VoiceMessageFile::storablePath(const QString& path)
{
    return !path.contains(QLatin1Char('"')) && !path.contains(QLatin1Char('\r')) && !path.contains(QLatin1Char('\n'));
}

}  // namespace cubwave
