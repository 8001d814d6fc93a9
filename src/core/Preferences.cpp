#include "core/Preferences.h"

#include <QStringDecoder>
#include <QStringList>

#include <cmath>
#include <limits>

namespace cubwave {

namespace {

constexpr qsizetype kMaxBytes = 64 * 1024;

QString quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

QString number(float value)
{
    // Shortest text that reads back as the same single-precision value.
    return QString::number(static_cast<double>(value), 'g', std::numeric_limits<float>::max_digits10)
        .replace(QStringLiteral("e+"), QStringLiteral("E+"))
        .replace(QStringLiteral("e-"), QStringLiteral("E-"));
}

QString shortestNumber(float value)
{
    for (int digits = 1; digits <= std::numeric_limits<float>::max_digits10; ++digits) {
        const QString text = QString::number(static_cast<double>(value), 'g', digits);
        if (text.toFloat() == value)
            return text;
    }
    return number(value);
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
        shortestNumber(p.utcOffsetHours),
        quoted(p.mode),
        shortestNumber(p.operatingSeconds),
        quoted(p.ownCountry),
        shortestNumber(p.ownLongitude),
        shortestNumber(p.ownLatitude),
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
    QStringDecoder decode(QStringDecoder::Utf8);
    QString all = decode(bytes);
    if (decode.hasError())
        return std::nullopt;
    all.remove(QLatin1Char('\r'));
    const QStringList lines = all.split(QLatin1Char('\n'));
    if (lines.size() < kFieldCount)
        return std::nullopt;
    for (int i = 0; i < kFieldCount; ++i) {
        for (QChar c : lines[i]) {
            if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
                return std::nullopt;
        }
    }

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
