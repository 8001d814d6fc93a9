#include "spots/PackSpotFile.h"

#include "core/FileRead.h"
#include "core/QuotedFields.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <array>
#include <cctype>

namespace cubwave {

QString PackSpotSettings::settingsText() const
{
    return QStringLiteral("%1,%2,%3,%4").arg(baudText.trimmed(), parity, dataBits, stopBits);
}

std::optional<QString> PackSpotSettings::connectionTypeNamed(QStringView name)
{
    for (const char* type : kConnectionTypes) {
        if (name.compare(QLatin1StringView(type), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(type);
    }
    return std::nullopt;
}

std::optional<unsigned char> PackSpotSettings::commandCharacter(QStringView hexText)
{
    const QStringView digits = hexText.trimmed();
    // Leading zeros are fine ("003"); more digits than that could overflow the conversion.
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    for (const QChar c : digits) {
        if (!isxdigit(c.toLatin1()) || c.unicode() > 0x7F)
            return std::nullopt;  // the conversion would take "0x" and a sign as well
    }
    bool ok = false;
    const uint code = digits.toUInt(&ok, 16);
    if (!ok || code > 0xFF)
        return std::nullopt;
    return static_cast<unsigned char>(code);
}

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

QString boolean(bool value) { return value ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#"); }

// Reads one line's value and says what is wrong with it when it is not usable.
class LineReader {
public:
    explicit LineReader(const QStringList& lines) : lines_(lines) {}

    const std::optional<QString>& problem() const { return problem_; }

    std::optional<QString> text(int lineNumber, const char* what)
    {
        if (problem_)
            return std::nullopt;
        std::array<QStringView, 1> items;
        if (!splitQuotedFields(lines_[lineNumber - 1], items)) {
            fail(lineNumber, what, "is not one value");
            return std::nullopt;
        }
        return items[0].toString();
    }

    // One of the allowed texts, compared without case; the allowed spelling is kept.
    template <size_t N>
    std::optional<QString> choice(int lineNumber, const char* what, const std::array<const char*, N>& allowed,
                                  bool rightTrimmed = false)
    {
        auto value = text(lineNumber, what);
        if (!value)
            return std::nullopt;
        QStringView compared(*value);
        if (rightTrimmed) {
            while (!compared.isEmpty() && compared.back().isSpace())
                compared.chop(1);
        }
        for (const char* option : allowed) {
            if (compared.compare(QLatin1StringView(option), Qt::CaseInsensitive) == 0)
                return QString::fromLatin1(option);
        }
        fail(lineNumber, what, "is none of the choices");
        return std::nullopt;
    }

    std::optional<int> number(int lineNumber, const char* what, int lowest, int highest)
    {
        const auto value = text(lineNumber, what);
        if (!value)
            return std::nullopt;
        bool ok = false;
        const int n = value->toInt(&ok);
        if (!ok || n < lowest || n > highest) {
            fail(lineNumber, what, QStringLiteral("is not a number from %1 to %2").arg(lowest).arg(highest));
            return std::nullopt;
        }
        return n;
    }

    std::optional<bool> boolean(int lineNumber, const char* what)
    {
        const auto value = text(lineNumber, what);
        if (!value)
            return std::nullopt;
        // The file's own spelling, and the numbers a hand edit might put there.
        for (const char* yes : {"#TRUE#", "TRUE", "-1", "1"}) {
            if (value->compare(QLatin1StringView(yes), Qt::CaseInsensitive) == 0)
                return true;
        }
        for (const char* no : {"#FALSE#", "FALSE", "0"}) {
            if (value->compare(QLatin1StringView(no), Qt::CaseInsensitive) == 0)
                return false;
        }
        fail(lineNumber, what, "is neither #TRUE# nor #FALSE#");
        return std::nullopt;
    }

private:
    void fail(int lineNumber, const char* what, const QString& why)
    {
        if (!problem_)
            problem_ = QStringLiteral("line %1 (%2) %3").arg(lineNumber).arg(QLatin1StringView(what), why);
    }

    const QStringList& lines_;
    std::optional<QString> problem_;
};

}  // namespace

QByteArray PackSpotFile::serialize(const PackSpotSettings& s)
{
    const QStringList lines{
        quoted(s.baudText),
        quoted(QString(s.parity)),
        quoted(QString(s.dataBits)),
        quoted(QString(s.stopBits)),
        QString::number(s.port),
        quoted(QString(s.powerLine)),
        quoted(s.connectionType),
        QString::number(s.convertToHex ? 1 : 0),
        QString::number(s.handshaking),
        QString::number(s.listDxOnly ? 1 : 0),
        boolean(s.listDisplay),
        quoted(s.commandHex),
        quoted(s.telnetPort),
        quoted(s.telnetHost),
    };
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

PackSpotFile::Parsed PackSpotFile::parse(const QByteArray& bytes)
{
    if (bytes.size() > kMaxBytes)
        return {PackSpotSettings{}, QStringLiteral("it is larger than %1 KB").arg(kMaxBytes / 1024)};
    QStringDecoder decode(QStringDecoder::Utf8);
    QString all = decode(bytes);
    if (decode.hasError())
        all = QString::fromLatin1(bytes);
    all.remove(u'\r');
    QStringList lines = all.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();  // the break that ends the last line
    if (lines.size() < kLineCount)
        return {PackSpotSettings{}, QStringLiteral("it has %1 of its %2 lines").arg(lines.size()).arg(kLineCount)};

    static constexpr std::array<const char*, 2> kDataBits{"7", "8"};
    static constexpr std::array<const char*, 3> kParities{"O", "N", "E"};
    static constexpr std::array<const char*, 2> kStopBits{"1", "2"};
    static constexpr std::array<const char*, 3> kPowerLines{"N", "R", "D"};

    LineReader read(lines);
    PackSpotSettings s;
    const auto baud = read.choice(1, "baud rate", PackSpotSettings::kBaudTexts, true);
    const auto parity = read.choice(2, "parity", kParities);
    const auto dataBits = read.choice(3, "data bits", kDataBits);
    const auto stopBits = read.choice(4, "stop bits", kStopBits);
    const auto port = read.number(5, "port", 1, PackSpotSettings::kMaxPort);
    const auto power = read.choice(6, "power line", kPowerLines);
    const auto type = read.choice(7, "connection type", PackSpotSettings::kConnectionTypes);
    const auto hex = read.number(8, "Convert to Hex", 0, 1);
    const auto handshaking = read.number(9, "handshaking", 1, 4);
    const auto listDxOnly = read.number(10, "List DX Only", 0, 1);
    const auto listDisplay = read.boolean(11, "List");
    const auto command = read.text(12, "TNC command character");
    const auto telnetPort = read.text(13, "Telnet port");
    const auto telnetHost = read.text(14, "Telnet host");
    if (read.problem())
        return {PackSpotSettings{}, read.problem()};

    s.baudText = *baud;
    s.parity = parity->at(0);
    s.dataBits = dataBits->at(0);
    s.stopBits = stopBits->at(0);
    s.port = *port;
    s.powerLine = power->at(0);
    s.connectionType = *type;
    s.convertToHex = *hex == 1;
    s.handshaking = *handshaking;
    s.listDxOnly = *listDxOnly == 1;
    s.listDisplay = *listDisplay;
    s.commandHex = *command;
    s.telnetPort = *telnetPort;
    s.telnetHost = *telnetHost;
    return {s, std::nullopt};
}

PackSpotFile::Loaded PackSpotFile::load(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    std::optional<QString> reason;
    PackSpotSettings settings;
    if (info.isDir()) {
        reason = QStringLiteral("it is a folder");
    } else {
        const FileBytes file = readFileBytes(path, kMaxBytes);
        if (!file.ok) {
            reason = file.error;
        } else if (file.bytes.contains('\0')) {
            reason = QStringLiteral("it holds NUL bytes, so it is no text file");
        } else {
            Parsed parsed = parse(file.bytes);
            settings = parsed.settings;
            reason = parsed.problem;
        }
    }
    if (!reason)
        return {settings, std::nullopt};
    return {PackSpotSettings{},
            QStringLiteral("The spot settings file \"%1\" could not be used: %2. The spot settings are "
                           "back to their defaults and the connection type is \"None\"; \"Done\" in the "
                           "DX Spotting Setup writes the file again.")
                .arg(QDir::toNativeSeparators(path), *reason)};
}

WriteResult PackSpotFile::write(const QString& path, const PackSpotSettings& settings)
{
    return replaceFileAtomically(path, serialize(settings));
}

}  // namespace cubwave
