#include "export/AdifWriter.h"

#include "export/AsciiText.h"
#include "export/BandLimits.h"
#include "export/ExportTime.h"
#include "export/ProductCaption.h"

namespace cubwave {

namespace {

constexpr char kCrLf[] = "\r\n";

void appendNumber(QByteArray& out, qsizetype value)
{
    char buf[24];
    int n = 0;
    do {
        buf[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (n > 0)
        out.append(buf[--n]);
}

// "<Tag:L>value" with L the length in bytes of the value as written (its ASCII form); one blank
// follows unless the tag ends its line.
void appendTag(QByteArray& out, const char* tag, QStringView value, bool blankAfter = true)
{
    out.append(tag);
    if (isPrintableAscii(value)) {
        appendNumber(out, value.size());
        out.append('>');
        appendAscii(out, value);
    } else {
        const QByteArray ascii = toAscii(value);
        appendNumber(out, ascii.size());
        out.append('>');
        out.append(ascii);
    }
    if (blankAfter)
        out.append(' ');
}

bool startsWithUsPrefix(const QString& call)
{
    if (call.isEmpty())
        return false;
    const QChar c = call.front().toUpper();
    return c == QLatin1Char('A') || c == QLatin1Char('K') || c == QLatin1Char('N') || c == QLatin1Char('W');
}

// The frequency is written only inside the record's band: an edit that changed the band and kept
// the old frequency would otherwise give "20M" beside 7.020, which logbooks flag or refuse.
QString frequencyInBand(const QsoRecord& record)
{
    const QString text = record[QsoRecord::Frequency].trimmed();
    if (text.isEmpty())
        return {};
    const auto limits = BandLimits::of(record.band());
    bool ok = false;
    const double mhz = text.toDouble(&ok);
    return ok && limits && limits->contains(mhz) ? text : QString();
}

// A value whose ASCII form is empty (a lone accent) is as good as empty.
bool hasText(QStringView text)
{
    return !text.isEmpty() && (isPrintableAscii(text) || !toAscii(text).isEmpty());
}

// ADIF's Canadian subdivision codes (the Primary Administrative Subdivision of DXCC 1). The log
// keeps Yukon as "YK", the code the event's location list uses; ADIF's is "YT".
QString canadianSubdivision(QStringView location)
{
    static const char* const codes[] = {"NS", "QC", "ON", "MB", "SK", "AB", "BC",
                                        "NT", "NB", "NL", "YT", "PE", "NU"};
    if (location.compare(QLatin1String("YK"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("YT");
    for (const char* code : codes) {
        if (location.compare(QLatin1String(code), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(code);
    }
    return {};
}

// ADIF's AGE is a whole number from 0 to 120; the entry line takes any text, so the rest is left
// out (-1) rather than written as an age no importer accepts.
int adifAge(QStringView stored)
{
    const QStringView text = stored.trimmed();
    if (text.isEmpty() || text.size() > 8)
        return -1;
    int age = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        age = age * 10 + (c.unicode() - '0');
    }
    return age <= 120 ? age : -1;
}

// TIME_ON as logbooks check it: four digits, hours to 23, minutes to 59. A blank stored time is
// written as 0000, a time no one logged, so it counts as no time.
bool isTimeOfDay(QStringView stored, const QString& time4)
{
    if (stored.trimmed().isEmpty() || time4.size() != 4)
        return false;
    for (const QChar c : time4) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const int hours = (time4[0].unicode() - '0') * 10 + (time4[1].unicode() - '0');
    const int minutes = (time4[2].unicode() - '0') * 10 + (time4[3].unicode() - '0');
    return hours <= 23 && minutes <= 59;
}

}  // namespace

QString AdifWriter::authorLine() { return QStringLiteral("Author: ") + ProductCaption::kMaker; }

QString AdifWriter::contactLine()
{
    return QStringLiteral("Contact: ") + ProductCaption::kWebAddress + QStringLiteral("  ") + ProductCaption::kEmail;
}

AdifWriter::AdifWriter(const AdifCountryTable& countries, AdifPower power, const QString& ownCall)
    : countries_(countries), power_(std::move(power)), usaDxcc_(countries.dxcc(u"USA")),
      canadaDxcc_(countries.dxcc(u"Canada")), hawaiiDxcc_(countries.dxcc(u"Hawaii")),
      alaskaDxcc_(countries.dxcc(u"Alaska"))
{
    const QString station = ownCall.trimmed().toUpper();
    if (hasText(station)) {
        appendTag(stationTags_, "<Station_Callsign:", station);
        appendTag(stationTags_, "<Operator:", station, false);
    }
}

AdifValues AdifWriter::values(const QsoRecord& r) const
{
    AdifValues v;
    v.date8 = adifDate(r[QsoRecord::Date]);
    v.time4 = adifTimeOn(r[QsoRecord::Time]);

    const QString& location = r.spc();
    if (location.size() == 2) {
        if (startsWithUsPrefix(r.call())) {
            v.state = location;
            if (location.compare(QLatin1String("HI"), Qt::CaseInsensitive) == 0) {
                v.country = QStringLiteral("Hawaii");
                v.dxcc = hawaiiDxcc_;
            } else if (location.compare(QLatin1String("AK"), Qt::CaseInsensitive) == 0) {
                v.country = QStringLiteral("Alaska");
                v.dxcc = alaskaDxcc_;
            } else {
                v.country = QStringLiteral("USA");
                v.dxcc = usaDxcc_;
            }
        } else {
            v.country = QStringLiteral("Canada");
            v.dxcc = canadaDxcc_;
            // ADIF ties a STATE's meaning to the DXCC entity, so a province goes only with Canada's.
            if (v.dxcc == 1)
                v.state = canadianSubdivision(location);
        }
    } else if (location.size() > 2) {
        v.country = location;
        v.dxcc = countries_.dxcc(v.country);
    }

    v.modeText = r.mode().compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0 ? QStringLiteral("SSB")
                                                                                 : QStringLiteral("CW");
    v.comment.reserve(9 + r[QsoRecord::Name].size() + 6 + r[QsoRecord::Age].size() + 2 + r[QsoRecord::Other].size());
    v.comment += QStringLiteral("Cubwave  ") + r[QsoRecord::Name];
    if (!r[QsoRecord::Age].isEmpty())
        v.comment += QStringLiteral(" Age: ") + r[QsoRecord::Age];
    if (!r[QsoRecord::Other].isEmpty())
        v.comment += QStringLiteral("  ") + r[QsoRecord::Other];
    v.freq = frequencyInBand(r);
    v.age = adifAge(r[QsoRecord::Age]);
    v.logbookReady = !v.date8.isEmpty() && isTimeOfDay(r[QsoRecord::Time], v.time4) && hasText(r.call());
    return v;
}

void AdifWriter::appendHeader(QByteArray& out, const AdifHeader& header) const
{
    out.append("ADIF Export from ");
    appendAscii(out, header.productName);
    out.append(kCrLf);
    appendAscii(out, authorLine());
    out.append(kCrLf);
    appendAscii(out, contactLine());
    out.append(kCrLf);
    out.append("Log exported on: ");
    appendAscii(out, header.exportedAt);
    out.append(kCrLf);
    out.append(kCrLf);
    // The header fields importers read: which ADIF, which program, and when (UTC).
    appendTag(out, "<ADIF_VER:", QString::fromLatin1(kAdifVersion), false);
    out.append(kCrLf);
    appendTag(out, "<PROGRAMID:", ProductCaption::kProgramName, false);
    out.append(kCrLf);
    appendTag(out, "<PROGRAMVERSION:", ProductCaption::kVersion, false);
    out.append(kCrLf);
    if (header.createdUtc.isValid()) {
        const QDateTime utc = header.createdUtc.toUTC();
        appendTag(out, "<CREATED_TIMESTAMP:", utc.toString(QStringLiteral("yyyyMMdd HHmmss")), false);
        out.append(kCrLf);
    }
    out.append("<EOH>");
    out.append(kCrLf);
    out.append(kCrLf);
}

void AdifWriter::appendRecord(QByteArray& out, const QsoRecord& r) const
{
    appendRecord(out, r, values(r));
}

void AdifWriter::appendRecord(QByteArray& out, const QsoRecord& r, const AdifValues& v) const
{
    if (hasText(r.call()))
        appendTag(out, "<Call:", r.call());
    if (!v.date8.isEmpty()) {
        // The date tag carries its type indicator: "<Qso_Date:8:d>".
        out.append("<Qso_Date:8:d>");
        appendAscii(out, v.date8);
        out.append(' ');
    }
    if (hasText(r.band()))
        appendTag(out, "<Band:", QString(r.band() + QLatin1Char('M')));
    appendTag(out, "<Mode:", v.modeText, false);
    out.append(kCrLf);

    if (!power_.value.isEmpty())
        appendTag(out, "<Tx_Pwr:", power_.value);
    if (!v.freq.isEmpty())
        appendTag(out, "<Freq:", v.freq);
    appendTag(out, "<Time_On:", v.time4);
    if (v.dxcc > 0) {
        QByteArray digits;
        appendNumber(digits, v.dxcc);
        out.append("<DXCC:");
        appendNumber(out, digits.size());
        out.append('>');
        out.append(digits);
        out.append(' ');
    }
    if (hasText(v.state))
        appendTag(out, "<State:", v.state);
    if (hasText(r[QsoRecord::Name]))
        appendTag(out, "<Name:", r[QsoRecord::Name]);
    appendTag(out, "<Comment:", v.comment, false);
    out.append(kCrLf);

    // What logbooks and confirmation services look for besides the log's own fields.
    if (!stationTags_.isEmpty() || v.age >= 0) {
        out.append(stationTags_);
        if (v.age >= 0) {
            if (!stationTags_.isEmpty())
                out.append(' ');
            out.append(v.age < 10 ? "<Age:1>" : v.age < 100 ? "<Age:2>" : "<Age:3>");
            appendNumber(out, v.age);
        }
        out.append(kCrLf);
    }
    out.append("<eor>");
    out.append(kCrLf);
    out.append(kCrLf);
}

AdifDocument AdifWriter::document(const AdifHeader& header, std::span<const QsoRecord> records) const
{
    AdifDocument doc;
    QByteArray& out = doc.text;
    out.reserve(static_cast<qsizetype>(384 + records.size() * 256));
    appendHeader(out, header);
    qsizetype line = 0;
    for (const QsoRecord& r : records) {
        ++line;
        const AdifValues v = values(r);
        if (!v.logbookReady)
            doc.refusedLines.push_back(line);
        appendRecord(out, r, v);
    }
    return doc;
}

}  // namespace cubwave
