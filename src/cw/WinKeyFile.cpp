#include "cw/WinKeyFile.h"

#include "core/FileRead.h"
#include "cw/CwFile.h"
#include "cw/CwNumber.h"

#include <QDir>
#include <QStringDecoder>

namespace cubwave {

namespace {

QString quoted(const QString& text) { return QLatin1Char('"') + CwFile::storable(text) + QLatin1Char('"'); }

QString decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    return text;
}

// A byte-sized whole number, rounded as the settings round; nothing for text or a value out of range.
std::optional<int> byteValue(const QString& text)
{
    const auto value = CwNumber::parse(text);
    if (!value)
        return std::nullopt;
    const double rounded = CwNumber::roundHalfEven(*value);
    if (rounded < 0 || rounded > 255)
        return std::nullopt;
    return int(rounded);
}

}  // namespace

WinKeySettings WinKeyFile::parse(const QByteArray& bytes, const WinKeySettings& defaults)
{
    WinKeySettings s = defaults;
    if (bytes.size() > kMaxBytes)
        return s;
    const QStringList v = CwFile::values(decode(bytes));
    const auto has = [&v](int line) { return v.size() >= line; };
    const auto at = [&v](int line) { return v[line - 1]; };
    if (!has(1))
        return s;
    s.port = quint8(byteValue(at(1)).value_or(0));
    QString* texts[] = {&s.speed, &s.weight, &s.leadIn, &s.tail, &s.ratio};
    for (int line = 2; line <= 6; ++line) {
        if (!has(line))
            return s;
        *texts[line - 2] = at(line);
    }
    if (has(7)) {
        const auto pins = byteValue(at(7));
        if (pins && isPinOption(*pins))
            s.pins = quint8(*pins);
    }
    if (has(8)) {
        const auto mode = byteValue(at(8));
        if (mode && isModeOption(*mode))
            s.mode = quint8(*mode);
    }
    return s;
}

QByteArray WinKeyFile::serialize(const WinKeySettings& s)
{
    const QStringList lines{QString::number(s.port), quoted(s.speed),   quoted(s.weight),       quoted(s.leadIn),
                            quoted(s.tail),          quoted(s.ratio),   QString::number(s.pins), QString::number(s.mode)};
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QString WinKeyFile::path(const QString& dataFolder) { return QDir(dataFolder).absoluteFilePath(kName); }

WinKeySettings WinKeyFile::load(const QString& dataFolder, const WinKeySettings& defaults)
{
    const FileBytes file = readFileBytes(path(dataFolder), kMaxBytes);
    if (!file.ok)
        return defaults;
    return parse(file.bytes, defaults);
}

WriteResult WinKeyFile::save(const QString& dataFolder, const WinKeySettings& settings)
{
    return replaceFileAtomically(path(dataFolder), serialize(settings));
}

}  // namespace cubwave
