// Builds the summary's QSO line of a record made of any eleven fields (the input split at NUL
// bytes, read as UTF-8): one ASCII line without CR or LF, and each field at its column as long
// as every field before it fits.
#include "export/AsciiText.h"
#include "export/CabrilloSummary.h"
#include "export/ExportTime.h"

#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> parts = input.split('\0');
    QsoRecord r;
    for (int i = 0; i < QsoRecord::FieldCount && i < parts.size(); ++i)
        r.fields[static_cast<size_t>(i)] = QString::fromUtf8(parts[i]);

    const QByteArray line = CabrilloSummary::qsoLine(r);
    for (const char c : line) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 || c == '\r' || c == '\n')
            std::abort();
    }
    if (!line.startsWith("QSO:"))
        std::abort();

    // Field texts in column order, each with its column and the next one.
    using C = CabrilloSummary;
    const QByteArray fields[] = {
        toAscii(C::bandFrequency(r.band())), toAscii(r.mode()),
        toAscii(summaryDate(r[QsoRecord::Date])), toAscii(summaryTime(r[QsoRecord::Time])),
        toAscii(r.call()).left(10), toAscii(r[QsoRecord::Name]).left(10), toAscii(r[QsoRecord::Age]),
        r.spc().size() <= 2 ? toAscii(r.spc()) : QByteArray("DX"),
    };
    const int columns[] = {C::Frequency, C::Mode, C::Date, C::Time, C::Call, C::Name, C::Age, C::Location, C::Other};
    for (int k = 0; k < 8; ++k) {
        if (line.mid(columns[k] - 1, fields[k].size()) != fields[k])
            std::abort();
        if (columns[k] - 1 + fields[k].size() > columns[k + 1] - 1)
            break;  // this one overruns: later columns move
    }
    return 0;
}
