#include "core/Preferences.h"

#include "core/FileRead.h"

#include <QStringList>

#include <charconv>
#include <cmath>
#include <limits>

namespace cubwave {

namespace {

constexpr qsizetype kMaxBytes = 64 * 1024;

// A text value between quotes, without what would end it early or break its line: the double
// quote and control characters (the tab is kept, as the reader keeps it).
QString quoted(const QString& text)
{
    QString kept;
    kept.reserve(text.size() + 2);
    kept += QLatin1Char('"');
    for (QChar c : text) {
        if (c != QLatin1Char('"') && (c.unicode() >= 0x20 || c == QLatin1Char('\t')))
            kept += c;
    }
    kept += QLatin1Char('"');
    return kept;
}

// A plain decimal ("70", "-72.73", "3600", never exponent form) that reads back as the same
// single-precision value. A value that is no number is written as 0, so the file still loads.
QString plainNumber(float value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    char buf[160];  // room for 39 integer digits and 60 decimals
    // The shortest decimal that identifies the float; as fixed, the digits are padded with zeros.
    auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed).ptr;
    QString text = QString::fromLatin1(buf, end - buf);
    // The reader parses double precision and narrows it; should that ever round elsewhere, the
    // double's own decimal is exact.
    for (int decimals = 1; static_cast<float>(text.toDouble()) != value && decimals <= 60; ++decimals) {
        end = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::fixed, decimals).ptr;
        text = QString::fromLatin1(buf, end - buf);
    }
    return text;
}

std::optional<QString> text(const QString& line)
{
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"'))) {
        const QString inner = t.mid(1, t.size() - 2);
        if (inner.contains(QLatin1Char('"')))
            return std::nullopt;
        return inner;
    }
    if (t.contains(QLatin1Char('"')))
        return std::nullopt;
    return t;  // a bare value reads as its text
}

std::optional<double> numeric(const QString& line)
{
    QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"')))
        t = t.mid(1, t.size() - 2).trimmed();
    if (t.isEmpty())
        return 0.0;  // an empty value reads as zero
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<float> single(const QString& line)
{
    const auto v = numeric(line);
    if (!v || std::fabs(*v) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(*v);
}

std::optional<quint8> byteValue(const QString& line)
{
    const auto v = numeric(line);
    if (!v)
        return std::nullopt;
    const double r = std::nearbyint(*v);
    if (r < 0 || r > 255)
        return std::nullopt;
    return static_cast<quint8>(r);
}

std::optional<qint32> longValue(const QString& line)
{
    const auto v = numeric(line);
    if (!v)
        return std::nullopt;
    const double r = std::nearbyint(*v);
    if (r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(r);
}

}  // namespace

QByteArray PrefFile::serialize(const Preferences& p)
{
    const QStringList lines{
        quoted(p.ownCall),
        quoted(p.ownSpc),
        plainNumber(p.utcOffsetHours),
        quoted(p.mode),
        plainNumber(p.operatingSeconds),
        quoted(p.ownCountry),
        plainNumber(p.ownLongitude),
        plainNumber(p.ownLatitude),
        QString::number(p.windowSizePct),
        QString::number(p.workedColour),
        QString::number(p.notWorkedColour),
        quoted(p.band),
        quoted(p.ownContinent),
        quoted(p.ownAge),
        QString::number(p.voiceNavLevel),
        quoted(p.rigModel),
        quoted(p.ownName),
        quoted(p.defaultRst),
        quoted(p.ownColour),
        QString::number(p.taskbar),
        QString::number(p.listPrevious),
    };
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

std::optional<Preferences> PrefFile::parse(const QByteArray& bytes)
{
    if (bytes.size() > kMaxBytes)
        return std::nullopt;
    // Each line is read as the log's lines are: UTF-8, or Latin-1 for a line that is no UTF-8
    // (a file saved by a single-byte Windows editor).
    QStringList lines;
    std::vector<QChar> buffer;
    for (QByteArrayView rest(bytes); lines.size() < kFieldCount;) {
        const qsizetype end = rest.indexOf('\n');
        const QByteArrayView raw = end < 0 ? rest : rest.first(end);
        QString line = decodeTextLine(raw, buffer).toString();
        line.remove(QLatin1Char('\r'));  // CR LF, LF and stray CRs alike
        for (QChar c : line) {
            if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
                return std::nullopt;
        }
        lines << line;
        if (end < 0)
            break;  // the text after the last break is a line of its own, even when empty
        rest = rest.sliced(end + 1);
    }
    if (lines.size() < kFieldCount)
        return std::nullopt;

    Preferences p;
    bool ok = true;
    const auto take = [&ok](auto parsed, auto& into) {
        if (parsed)
            into = *parsed;
        else
            ok = false;
    };
    take(text(lines[0]), p.ownCall);
    take(text(lines[1]), p.ownSpc);
    take(single(lines[2]), p.utcOffsetHours);
    take(text(lines[3]), p.mode);
    take(single(lines[4]), p.operatingSeconds);
    take(text(lines[5]), p.ownCountry);
    take(single(lines[6]), p.ownLongitude);
    take(single(lines[7]), p.ownLatitude);
    take(byteValue(lines[8]), p.windowSizePct);
    take(longValue(lines[9]), p.workedColour);
    take(longValue(lines[10]), p.notWorkedColour);
    take(text(lines[11]), p.band);
    take(text(lines[12]), p.ownContinent);
    take(text(lines[13]), p.ownAge);
    take(byteValue(lines[14]), p.voiceNavLevel);
    take(text(lines[15]), p.rigModel);
    take(text(lines[16]), p.ownName);
    take(text(lines[17]), p.defaultRst);
    take(text(lines[18]), p.ownColour);
    take(byteValue(lines[19]), p.taskbar);
    take(byteValue(lines[20]), p.listPrevious);
    if (!ok)
        return std::nullopt;
    return p;
}

}  // namespace cubwave
