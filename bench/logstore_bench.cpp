// The reload of a full log and one commit's store + append + sync, on this machine's disk.
#include "core/LogFile.h"
#include "core/LogStore.h"
#include "core/SpcTable.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdlib>

using namespace cubwave;

namespace {

// A log shaped like a busy event's: mostly states and provinces, the rest spread over
// dxEntries countries, a third of it phone, a frequency on most lines.
std::vector<QsoRecord> makeLog(int count, int dxEntries)
{
    static const char* const bands[] = {"160", "80", "40", "20", "15", "10", "6", "2"};
    static const char* const names[] = {"Tom", "Ann", "Ken", "Maria", "Jo", "Alexander"};
    static const char* const colours[] = {"Blue", "Green", "Red", "Purple", "Sky blue", ""};
    std::vector<QsoRecord> log;
    log.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        QsoRecord r;
        r[QsoRecord::Call] = QStringLiteral("K%1AB%2").arg(i % 10).arg(QChar(u'A' + i % 26));
        r[QsoRecord::Age] = QString::number(8 + i % 10);
        r[QsoRecord::Other] = QString::fromLatin1(colours[i % 6]);
        r[QsoRecord::Spc] = i % 5 < 3 ? QString::fromLatin1(SpcTable::entry(1 + i % SpcTable::kSize).code)
                                      : QStringLiteral("Country %1").arg(i % dxEntries);
        r[QsoRecord::Date] = QStringLiteral("2026/06/%1").arg(13 + i / 5000, 2, 10, QChar(u'0'));
        r[QsoRecord::Time] = QStringLiteral("%1:%2:%3")
                                 .arg(i / 600 % 24, 2, 10, QChar(u'0'))
                                 .arg(i / 10 % 60, 2, 10, QChar(u'0'))
                                 .arg(i * 7 % 60, 2, 10, QChar(u'0'));
        r[QsoRecord::Mode] = i % 3 == 0 ? QStringLiteral("PH") : QStringLiteral("CW");
        r[QsoRecord::Band] = QString::fromLatin1(bands[i % 8]);
        r[QsoRecord::Name] = QString::fromLatin1(names[i % 6]);
        if (i % 4 != 0)
            r[QsoRecord::Frequency] = QStringLiteral("14.%1").arg(i % 1000, 3, 10, QChar(u'0'));
        log.push_back(std::move(r));
    }
    return log;
}

struct LogOnDisk {
    QTemporaryDir dir;
    LogFile file{dir.filePath(QStringLiteral("log.txt"))};

    explicit LogOnDisk(const std::vector<QsoRecord>& records)
    {
        if (!dir.isValid() || !file.rewrite(records).ok)
            std::abort();
    }
};

// Reload: read "log.txt" and rebuild the store with every counter. Arg: distinct DX entries.
void BM_Reload(benchmark::State& state)
{
    const LogOnDisk log(makeLog(LogStore::kCapacity, static_cast<int>(state.range(0))));
    for (auto _ : state) {
        LogReadResult read = log.file.read();
        LogStore store;
        if (!read.ok || !store.load(std::move(read.records)))
            state.SkipWithError("reload failed");
        benchmark::DoNotOptimize(store.workedCount());
    }
}
BENCHMARK(BM_Reload)->Arg(150)->Arg(LogStore::kDxCapacity)->Unit(benchmark::kMillisecond);

// One commit: store the record, append its line and sync it, next to a full log.
void BM_CommitAppend(benchmark::State& state)
{
    std::vector<QsoRecord> records = makeLog(LogStore::kCapacity, 150);
    const QsoRecord contact = records.back();
    records.pop_back();
    const LogOnDisk log(records);
    LogStore store;
    if (!store.load(records))
        std::abort();
    for (auto _ : state) {
        if (!store.append(contact) || !log.file.append(contact).ok)
            state.SkipWithError("commit failed");
        // Keeps the store one short of full; the file keeps growing as in a long session.
        store.dropLast();
    }
}
BENCHMARK(BM_CommitAppend)->Unit(benchmark::kMillisecond);

}  // namespace

