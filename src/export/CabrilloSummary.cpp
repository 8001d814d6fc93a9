#include "export/CabrilloSummary.h"

#include "export/AsciiText.h"
#include "export/ExportTime.h"

#include <QHash>
#include <QRegularExpression>

namespace cubwave {

namespace {

constexpr char kCrLf[] = "\r\n";
constexpr int kCutWidth = 10;  // call and name are cut to this many characters

void placeAt(QByteArray& line, int column, const QByteArray& field)
{
    const qsizetype start = column - 1;
    if (line.size() < start)
        line.append(start - line.size(), ' ');
    else if (line.size() > start)
        line.append(' ');
    line.append(field);
}

// A header value pasted with line breaks would start lines without a keyword.
QString oneLine(const QString& value)
{
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

void appendHeaderLine(QByteArray& out, const char* keyword, const QString& value)
{
    out.append(keyword);
    appendAscii(out, oneLine(value));
    out.append(kCrLf);
}

}  // namespace

QString CabrilloSummary::bandFrequency(const QString& bandCode)
{
    static const QHash<QString, QString> kFrequencies = {
        {QStringLiteral("160"), QStringLiteral(" 1800")}, {QStringLiteral("80"), QStringLiteral(" 3500")},
        {QStringLiteral("40"), QStringLiteral(" 7000")},  {QStringLiteral("20"), QStringLiteral("14000")},
        {QStringLiteral("15"), QStringLiteral("21000")},  {QStringLiteral("10"), QStringLiteral("28000")},
        {QStringLiteral("6"), QStringLiteral("50")},      {QStringLiteral("2"), QStringLiteral("144")},
    };
    return kFrequencies.value(bandCode);  // exact comparison
}

QByteArray CabrilloSummary::qsoLine(const QsoRecord& r)
{
    QByteArray line;
    line.reserve(80);
    line.append("QSO:");
    placeAt(line, Frequency, bandFrequency(r.band()).toLatin1());
    placeAt(line, Mode, toAscii(r.mode()));
    placeAt(line, Date, toAscii(summaryDate(r[QsoRecord::Date])));
    placeAt(line, Time, toAscii(summaryTime(r[QsoRecord::Time])));
    placeAt(line, Call, toAscii(r.call()).left(kCutWidth));
    placeAt(line, Name, toAscii(r[QsoRecord::Name]).left(kCutWidth));
    placeAt(line, Age, toAscii(r[QsoRecord::Age]));
    placeAt(line, Location, r.spc().size() <= 2 ? toAscii(r.spc()) : QByteArray("DX"));
    placeAt(line, Other, toAscii(r[QsoRecord::Other]));
    return line;
}

QByteArray CabrilloSummary::document(const Header& h, std::span<const QsoRecord> records)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(1024 + records.size() * 80));
    out.append("START-OF-LOG: 2.0");
    out.append(kCrLf);
    appendHeaderLine(out, "CREATED-BY: ", h.productName);
    out.append("CONTEST: CUBWAVE");
    out.append(kCrLf);
    appendHeaderLine(out, "STATE-PROVINCE-COUNTRY: ", h.ownLocation);
    appendHeaderLine(out, "CALLSIGN: ", h.ownCall);
    appendHeaderLine(out, "NAME: ", h.name);
    appendHeaderLine(out, "ADDRESS: ", h.address1);
    appendHeaderLine(out, "ADDRESS: ", h.address2);
    appendHeaderLine(out, "ADDRESS: (e-mail) ", h.email);
    // Each line of a multi-line soapbox gets its own keyword.
    static const QRegularExpression kLineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList soapbox = h.soapbox.split(kLineBreak);
    for (const QString& line : soapbox)
        appendHeaderLine(out, "SOAPBOX: ", line);
    for (const QsoRecord& r : records) {
        out.append(qsoLine(r));
        out.append(kCrLf);
    }
    out.append("END-OF-LOG:");
    out.append(kCrLf);
    return out;
}

}  // namespace cubwave
