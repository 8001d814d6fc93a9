#include "rig/RigSettingsFile.h"

#include "core/FileRead.h"
#include "core/QuotedFields.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <array>

namespace cubwave {

namespace {

// A quote would end the value early when the file is read back, and a line end would split
// it; the entry boxes refuse both. A NUL would make the file no text file at all.
QString quoted(const QString& text)
{
    QString clean = text;
    for (const char16_t c : {u'"', u'\r', u'\n', u'\0'})
        clean.remove(QChar(c));
    return u'"' + clean + u'"';
}

QString bare(int value) { return QString::number(value); }

std::optional<QString> item(const QString& line)
{
    std::array<QStringView, 1> items;
    if (!splitQuotedFields(line, items))
        return std::nullopt;
    return items[0].toString();
}

std::optional<QChar> letter(const QString& line, QStringView allowed)
{
    const auto value = item(line);
    if (!value || value->size() != 1 || !allowed.contains(value->at(0)))
        return std::nullopt;
    return value->at(0);
}

std::optional<int> number(const QString& line, int lowest, int highest)
{
    const auto value = item(line);
    if (!value)
        return std::nullopt;
    bool ok = false;
    const int n = value->toInt(&ok);
    if (!ok || n < lowest || n > highest)
        return std::nullopt;
    return n;
}

template <typename T>
void take(const std::optional<T>& value, T& into)
{
    if (value)
        into = *value;
}

}  // namespace

QByteArray RigSettingsFile::serialize(const RigSettings& s)
{
    const QStringList lines{
        quoted(RigSettings::paddedBaud(s.baudText)),
        quoted(s.parity),
        quoted(s.dataBits),
        quoted(s.stopBits),
        quoted(s.modeQuery),
        quoted(s.frequencyQuery),
        quoted(s.settingsText()),
        bare(s.port),
        quoted(s.powerLine),
        quoted(s.pollRate),
        quoted(s.rigName),
        bare(s.convertToHex ? 1 : 0),
        bare(s.useFrequency ? 1 : 0),
        bare(int(s.modeBy)),
    };
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

RigSettings RigSettingsFile::parse(const QByteArray& bytes)
{
    RigSettings s;
    if (bytes.size() > kMaxBytes)
        return s;
    QStringDecoder decode(QStringDecoder::Utf8);
    QString all = decode(bytes);
    if (decode.hasError())
        all = QString::fromLatin1(bytes);
    all.remove(u'\r');
    QStringList lines = all.split(u'\n');
    // What was not read keeps its default.
    while (lines.size() < kLineCount)
        lines.append(QString());

    if (const auto baud = item(lines[0])) {
        const QString trimmed = baud->trimmed();
        if (RigSettings::isBaudText(trimmed))
            s.baudText = RigSettings::paddedBaud(trimmed);
    }
    take(letter(lines[1], u"ONE"), s.parity);
    take(letter(lines[2], u"78"), s.dataBits);
    take(letter(lines[3], u"12"), s.stopBits);
    take(item(lines[4]), s.modeQuery);
    take(item(lines[5]), s.frequencyQuery);
    // Line 7, the settings text, is rebuilt from the options whenever it is used.
    take(number(lines[7], 1, RigSettings::kMaxPort), s.port);
    take(letter(lines[8], u"NRD"), s.powerLine);
    take(letter(lines[9], u"FMSR"), s.pollRate);
    if (const auto name = item(lines[10]); name && RigModels::find(*name))
        s.rigName = *name;
    if (const auto hex = number(lines[11], 0, 1))
        s.convertToHex = *hex == 1;
    if (const auto useFrequency = number(lines[12], 0, 1))
        s.useFrequency = *useFrequency == 1;
    if (const auto modeBy = number(lines[13], 1, 3))
        s.modeBy = ModeSource(*modeBy);
    return s;
}

RigSettings RigSettingsFile::read(const QString& path) { return load(path).settings; }

RigSettingsFile::Loaded RigSettingsFile::load(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (info.isDir())
        return {RigSettings{}, QStringLiteral("it is a folder")};
    const FileBytes file = readFileBytes(path, kMaxBytes);
    if (!file.ok)
        return {RigSettings{}, file.error};
    if (file.bytes.size() > kMaxBytes)
        return {RigSettings{}, QStringLiteral("it is larger than %1 KB").arg(kMaxBytes / 1024)};
    if (file.bytes.contains('\0'))
        return {RigSettings{}, QStringLiteral("it holds NUL bytes, so it is no text file")};
    return {parse(file.bytes), std::nullopt};
}

WriteResult RigSettingsFile::write(const QString& path, const RigSettings& settings)
{
    return replaceFileAtomically(path, serialize(settings));
}

}  // namespace cubwave
