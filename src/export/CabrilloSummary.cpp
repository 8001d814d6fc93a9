#include "export/CabrilloSummary.h"

#include "export/AsciiText.h"
#include "export/ExportTime.h"

#include <QHash>
#include <QRegularExpression>

namespace cubwave {

namespace {

constexpr char kCrLf[] = "\r\n";
constexpr int kCutWidth = 10;  // call and name are cut to this many characters

// Pads the line that starts at lineStart up to column (1-based); a line already past it gets one
// blank instead, so an overrunning field never breaks the line.
void moveTo(QByteArray& out, qsizetype lineStart, int column)
{
    const qsizetype length = out.size() - lineStart;
    if (length < column - 1)
        out.append(column - 1 - length, ' ');
    else if (length > column - 1)
        out.append(' ');
}

void placeAt(QByteArray& out, qsizetype lineStart, int column, QStringView field, qsizetype maxBytes = -1)
{
    moveTo(out, lineStart, column);
    appendAscii(out, field, maxBytes);
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
    appendQsoLine(line, r);
    return line;
}

void CabrilloSummary::appendQsoLine(QByteArray& out, const QsoRecord& r)
{
    const qsizetype start = out.size();
    out.append("QSO:");
    placeAt(out, start, Frequency, bandFrequency(r.band()));
    placeAt(out, start, Mode, r.mode());
    placeAt(out, start, Date, summaryDate(r[QsoRecord::Date]));
    placeAt(out, start, Time, summaryTime(r[QsoRecord::Time]));
    placeAt(out, start, Call, r.call(), kCutWidth);
    placeAt(out, start, Name, r[QsoRecord::Name], kCutWidth);
    placeAt(out, start, Age, r[QsoRecord::Age]);
    placeAt(out, start, Location, r.spc().size() <= 2 ? QStringView(r.spc()) : QStringView(u"DX"));
    placeAt(out, start, Other, r[QsoRecord::Other]);
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
        appendQsoLine(out, r);
        out.append(kCrLf);
    }
    out.append("END-OF-LOG:");
    out.append(kCrLf);
    return out;
}

}  // namespace cubwave
