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

}  // namespace

QString AdifWriter::authorLine() { return QStringLiteral("Author: ") + ProductCaption::kMaker; }

QString AdifWriter::contactLine()
{
    return QStringLiteral("Contact: ") + ProductCaption::kWebAddress + QStringLiteral("  ") + ProductCaption::kEmail;
}

AdifWriter::AdifWriter(const AdifCountryTable& countries, AdifPower power)
    : countries_(countries), power_(std::move(power)), usaDxcc_(countries.dxcc(u"USA")),
      canadaDxcc_(countries.dxcc(u"Canada")), hawaiiDxcc_(countries.dxcc(u"Hawaii")),
      alaskaDxcc_(countries.dxcc(u"Alaska"))
{
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
    return v;
}

void AdifWriter::appendHeader(QByteArray& out, const QString& productName, const QString& exportedAt) const
{
    out.append("ADIF Export from ");
    appendAscii(out, productName);
    out.append(kCrLf);
    appendAscii(out, authorLine());
    out.append(kCrLf);
    appendAscii(out, contactLine());
    out.append(kCrLf);
    out.append("Log exported on: ");
    appendAscii(out, exportedAt);
    out.append(kCrLf);
    out.append(kCrLf);
    out.append("<EOH>");
    out.append(kCrLf);
    out.append(kCrLf);
}

void AdifWriter::appendRecord(QByteArray& out, const QsoRecord& r) const
{
    const AdifValues v = values(r);

    // A value whose ASCII form is empty (a lone accent) is as good as empty.
    const auto hasText = [](QStringView text) {
        return !text.isEmpty() && (isPrintableAscii(text) || !toAscii(text).isEmpty());
    };
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
    out.append("<eor>");
    out.append(kCrLf);
    out.append(kCrLf);
}

QByteArray AdifWriter::document(const QString& productName, const QString& exportedAt,
                                std::span<const QsoRecord> records) const
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(256 + records.size() * 200));
    appendHeader(out, productName, exportedAt);
    for (const QsoRecord& r : records)
        appendRecord(out, r);
    return out;
}

}  // namespace cubwave
