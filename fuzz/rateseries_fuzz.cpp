// Computes the rate graph of a log of any dates, times and bands (one record per input line,
// its fields separated by "|"): nothing is read or written outside the arrays (ASan), no value
// is NaN or infinite, and every drawn coordinate is finite.
#include "export/RateGeometry.h"
#include "export/RateSeries.h"

#include <QList>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace cubwave;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<QsoRecord> log;
    for (const QByteArray& line : input.split('\n')) {
        if (log.size() >= 2000)
            break;
        const QList<QByteArray> f = line.split('|');
        QsoRecord r;
        r[QsoRecord::Date] = QString::fromUtf8(f.value(0));
        r[QsoRecord::Time] = QString::fromUtf8(f.value(1));
        r[QsoRecord::Band] = QString::fromUtf8(f.value(2));
        log.push_back(r);
    }
    for (const quint32 background : {RateSeries::kBlack, RateSeries::kWhite}) {
        const RateSeries s = RateSeries::compute(log, background);
        if (!s.drawable)
            continue;
        if (!std::isfinite(s.lowest) || !std::isfinite(s.highest) || s.lowest > s.highest || s.spanSeconds < 0)
            std::abort();
        const RateGeometry g{900, 9300, 600, 5400, 5500, 5700, 10};
        for (int i = 0; i <= RateSeries::kPositions; ++i) {
            if (!std::isfinite(s.drawnRate[static_cast<size_t>(i)]) || !std::isfinite(g.y(s.drawnRate[static_cast<size_t>(i)], s))
                || !std::isfinite(g.x(i)))
                std::abort();
        }
    }
    return 0;
}
