// Writes one record made of any eleven fields, a power and an own call (the input split at NUL
// bytes, read as UTF-8) and reads it back with a byte-counting reader of its own: every byte is
// ASCII, every tag's length holds, each value read is the ASCII form of what the record holds,
// and an age is a whole number from 0 to 120.
#include "export/AdifCountryTable.h"
#include "export/AdifWriter.h"
#include "export/AsciiText.h"

#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>

using namespace cubwave;

namespace {

// Tag name (lower case) -> value, for the tags of one record up to <eor>.
std::map<QByteArray, QByteArray> readRecord(const QByteArray& bytes)
{
    std::map<QByteArray, QByteArray> fields;
    qsizetype pos = 0;
    while (true) {
        const qsizetype open = bytes.indexOf('<', pos);
        if (open < 0)
            std::abort();  // no <eor>
        const qsizetype close = bytes.indexOf('>', open);
        if (close < 0)
            std::abort();
        const QList<QByteArray> spec = bytes.mid(open + 1, close - open - 1).split(':');
        const QByteArray name = spec[0].toLower();
        if (name == "eor") {
            if (bytes.mid(close + 1) != "\r\n\r\n")
                std::abort();
            return fields;
        }
        bool ok = false;
        const qsizetype length = spec.size() >= 2 ? spec[1].toLongLong(&ok) : -1;
        if (!ok || length < 0 || close + 1 + length > bytes.size() || fields.count(name))
            std::abort();
        fields[name] = bytes.mid(close + 1, length);
        pos = close + 1 + length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const AdifCountryTable table =
        AdifCountryTable::parse("\"USA\",291\r\n\"Canada\",1\r\n\"Hawaii\",110\r\n\"Alaska\",6\r\n\"Japan\",339\r\n",
                                QStringLiteral("ADIFCnt.txt"))
            .table;
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> parts = input.split('\0');
    QsoRecord r;
    for (int i = 0; i < QsoRecord::FieldCount && i < parts.size(); ++i)
        r.fields[static_cast<size_t>(i)] = QString::fromUtf8(parts[i]);
    const QString power = parts.size() > QsoRecord::FieldCount ? QString::fromUtf8(parts[QsoRecord::FieldCount]) : QString();

    const QString ownCall = parts.size() > QsoRecord::FieldCount + 1 ? QString::fromUtf8(parts[QsoRecord::FieldCount + 1])
                                                                     : QString();

    const AdifWriter writer(table, AdifPower::fromTyped(power), ownCall);
    QByteArray out;
    writer.appendRecord(out, r);
    for (const char c : out) {
        if (static_cast<unsigned char>(c) >= 0x80)
            std::abort();
    }
    const std::map<QByteArray, QByteArray> read = readRecord(out);
    // An optional tag is written when its value is not empty; the others always.
    const auto expect = [&](const char* name, const QByteArray& value, bool always = false) {
        const auto it = read.find(name);
        if (value.isEmpty() && !always ? it != read.end() : (it == read.end() || it->second != value))
            std::abort();
    };
    const AdifValues v = writer.values(r);
    expect("call", toAscii(r.call()));
    expect("name", toAscii(r[QsoRecord::Name]));
    expect("state", toAscii(v.state));
    expect("comment", toAscii(v.comment), true);
    expect("time_on", toAscii(v.time4), true);
    expect("mode", v.modeText.toLatin1(), true);
    expect("qso_date", v.date8.toLatin1());
    expect("freq", toAscii(v.freq));
    expect("tx_pwr", toAscii(AdifPower::fromTyped(power).value));
    const QByteArray band = toAscii(r.band());
    expect("band", band.isEmpty() ? QByteArray() : band + 'M');
    if (v.date8.size() != 0 && v.date8.size() != 8)
        std::abort();
    const QByteArray station = toAscii(ownCall.trimmed().toUpper());
    expect("station_callsign", station);
    expect("operator", station);
    expect("age", v.age < 0 ? QByteArray() : QByteArray::number(v.age));
    if (const auto age = read.find("age"); age != read.end()) {
        bool ok = false;
        const int years = age->second.toInt(&ok);
        if (!ok || years < 0 || years > 120 || QByteArray::number(years) != age->second
            || r[QsoRecord::Age].trimmed().toInt() != years)
            std::abort();
    }
    return 0;
}
