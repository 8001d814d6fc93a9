// Any bytes handed to the log reader must give either a clean refusal or records the store can
// take; nothing may crash, and a log the reader accepts must survive a write and a second read.
#include "core/LogFile.h"
#include "core/LogStore.h"

#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                     static_cast<qsizetype>(size));
    LogReadResult result = LogFile::parse(bytes);
    if (!result.ok) {
        // The operator is told why, and the line named is one the file has.
        const qsizetype lines = bytes.count('\n') + 1;
        if (result.reason.isEmpty() || result.line < 0 || result.line > lines ||
            !result.problem(QStringLiteral("log.txt")).startsWith(QStringLiteral("log.txt")))
            std::abort();
        return 0;
    }

    // Writing back what was read must read back the same: a reload after an edit may not
    // change any contact. Quoted-field text is the only form the writer knows, so a field that
    // would need escaping (it cannot hold a quote) never reaches it from the reader.
    const LogReadResult again = LogFile::parse(LogFile::serialize(result.records));
    if (!again.ok || again.records != result.records)
        std::abort();

    LogStore store;
    const int count = static_cast<int>(result.records.size());
    if (store.load(std::move(result.records))) {
        if (store.count() != count || store.workedCount() > SpcTable::kSize ||
            store.dxCount() > LogStore::kDxCapacity || store.phoneCount() > static_cast<float>(count))
            std::abort();
    }
    return 0;
}
