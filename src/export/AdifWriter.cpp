#include "export/AdifWriter.h"

#include "export/AsciiText.h"
#include "export/BandLimits.h"
#include "export/ExportTime.h"
#include "export/ProductCaption.h"

namespace cubwave {

namespace {

constexpr char kCrLf[] = "\r\n";

// "<Tag:L>value" with L the value's length in bytes; one blank follows unless last on its line.
void appendTag(QByteArray& out, const char* tag, const QByteArray& value, bool blankAfter = true)
{
    out.append(tag);
    out.append(QByteArray::number(value.size()));
    out.append('>');
    out.append(value);
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
    : countries_(countries), power_(std::move(power))
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
            if (location.compare(QLatin1String("HI"), Qt::CaseInsensitive) == 0)
                v.country = QStringLiteral("Hawaii");
            else if (location.compare(QLatin1String("AK"), Qt::CaseInsensitive) == 0)
                v.country = QStringLiteral("Alaska");
            else
                v.country = QStringLiteral("USA");
        } else {
            v.country = QStringLiteral("Canada");
        }
    } else if (location.size() > 2) {
        v.country = location;
    }
    v.dxcc = v.country.isEmpty() ? 0 : countries_.dxcc(v.country);

    v.modeText = r.mode().compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0 ? QStringLiteral("SSB")
                                                                                 : QStringLiteral("CW");
    v.comment = QStringLiteral("Cubwave  ") + r[QsoRecord::Name];
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

    const QByteArray call = toAscii(r.call());
    if (!call.isEmpty())
        appendTag(out, "<Call:", call);
    if (!v.date8.isEmpty()) {
        // The date tag carries its type indicator: "<Qso_Date:8:d>".
        out.append("<Qso_Date:8:d>");
        out.append(v.date8.toLatin1());
        out.append(' ');
    }
    const QByteArray band = toAscii(r.band());
    if (!band.isEmpty())
        appendTag(out, "<Band:", band + 'M');
    appendTag(out, "<Mode:", v.modeText.toLatin1(), false);
    out.append(kCrLf);

    if (!power_.value.isEmpty())
        appendTag(out, "<Tx_Pwr:", toAscii(power_.value));
    if (!v.freq.isEmpty())
        appendTag(out, "<Freq:", toAscii(v.freq));
    appendTag(out, "<Time_On:", toAscii(v.time4));
    if (v.dxcc > 0)
        appendTag(out, "<DXCC:", QByteArray::number(v.dxcc));
    const QByteArray state = toAscii(v.state);
    if (!state.isEmpty())
        appendTag(out, "<State:", state);
    const QByteArray name = toAscii(r[QsoRecord::Name]);
    if (!name.isEmpty())
        appendTag(out, "<Name:", name);
    appendTag(out, "<Comment:", toAscii(v.comment), false);
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
