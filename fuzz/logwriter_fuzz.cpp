// The log writer's rule against the reader: any record the writer accepts reads back as the
// same record, and any record it refuses would not. The input is UTF-16 text (two bytes a unit,
// little-endian, so broken surrogate pairs are reachable) whose "|" split it into the fields.
#include "core/LogFile.h"
#include "core/LogLine.h"

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    for (size_t i = 0; i + 1 < size; i += 2)
        text[static_cast<qsizetype>(i / 2)] = QChar(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    const QStringList parts = text.split(QLatin1Char('|'));
    QsoRecord record;
    for (qsizetype i = 0; i < parts.size() && i < QsoRecord::FieldCount; ++i)
        record.fields[static_cast<size_t>(i)] = parts[i];

    const bool accepted = LogLine::refusal(record).isEmpty();
    const LogReadResult back = LogFile::parse(LogFile::serialize({record}));
    const bool readsBack = back.ok && back.records == std::vector<QsoRecord>{record};
    if (accepted != readsBack)
        std::abort();
    return 0;
}
