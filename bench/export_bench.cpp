// The exports of a full log (11,000 contacts): the ADIF text and the whole export, the summary
// text, the rate graph's computation, its painting and the opening of its window.
// Targets: ADIF text 15 ms, whole export without the final sync 60 ms, summary text 10 ms, rate
// computation 3 ms over 48 hours and 10 ms with every contact inside ten minutes, painting a
// 1600 x 1000 image 15 ms, opening the graph 100 ms.
#include "BenchServices.h"
#include "core/LogStore.h"
#include "core/SpcTable.h"
#include "export/AdifCountryTable.h"
#include "export/AdifWriter.h"
#include "export/CabrilloSummary.h"
#include "export/ProductCaption.h"
#include "export/RateGeometry.h"
#include "export/RateSeries.h"
#include "ui/export/RateGraphPainter.h"
#include "ui/export/RateGraphWindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdlib>

using namespace cubwave;

namespace {

constexpr int kContacts = LogStore::kCapacity;
const QString kTablePath = QStringLiteral(CUBWAVE_SOURCE_DIR "/data/ADIFCnt.txt");

// A full log: mostly states and provinces, a fifth DX from the shipped table's names, names with
// accents here and there, a frequency on most lines. Contacts are spanSeconds / count apart.
std::vector<QsoRecord> makeLog(int count, qint64 spanSeconds)
{
    static const char* const bands[] = {"160", "80", "40", "20", "15", "10", "6", "2"};
    static const char* const freqs[] = {"1.830", "3.550", "7.020", "14.025", "21.300", "28.400", "50.125", "146.520"};
    static const char* const names[] = {"Tom", "Ann", "José", "Maria", "Zoë", "Alexander"};
    static const char* const dx[] = {"Japan", "England", "Fed. Rep. of Germany", "Australia", "Brazil"};
    const QDateTime start(QDate(2026, 6, 13), QTime(0, 0), Qt::UTC);
    std::vector<QsoRecord> log;
    log.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const QDateTime t = start.addSecs(spanSeconds * i / count);
        QsoRecord r;
        r[QsoRecord::Call] = QStringLiteral("K%1AB%2").arg(i % 10).arg(QChar(u'A' + i % 26));
        r[QsoRecord::Age] = QString::number(8 + i % 10);
        r[QsoRecord::Other] = i % 2 ? QStringLiteral("Blue") : QString();
        r[QsoRecord::Spc] = i % 5 ? QString::fromLatin1(SpcTable::entry(1 + i % SpcTable::kSize).code)
                                  : QString::fromLatin1(dx[(i / 5) % 5]);
        r[QsoRecord::Date] = t.toString(QStringLiteral("yyyy/MM/dd"));
        r[QsoRecord::Time] = t.toString(QStringLiteral("hh:mm:ss"));
        r[QsoRecord::Mode] = i % 3 == 0 ? QStringLiteral("PH") : QStringLiteral("CW");
        r[QsoRecord::Band] = QString::fromLatin1(bands[i / 700 % 8]);
        r[QsoRecord::Name] = QString::fromUtf8(names[i % 6]);
        if (i % 4 != 0)
            r[QsoRecord::Frequency] = QString::fromLatin1(freqs[i / 700 % 8]);
        log.push_back(std::move(r));
    }
    return log;
}

const std::vector<QsoRecord>& log48h()
{
    static const std::vector<QsoRecord> log = makeLog(kContacts, 48 * 3600);
    return log;
}

AdifCountryTable shippedTable()
{
    AdifCountryTableLoad load = AdifCountryTable::read(kTablePath);
    if (!load.ok)
        std::abort();
    return std::move(load.table);
}

void BM_AdifText(benchmark::State& state)
{
    const AdifCountryTable table = shippedTable();
    const AdifWriter writer(table, AdifPower::fromTyped(QStringLiteral("100")), QStringLiteral("N0CUB"));
    const AdifHeader header{QStringLiteral("Brantel's Cubwave Log 1.8"), QStringLiteral("now"),
                            QDateTime(QDate(2026, 6, 14), QTime(12, 0), Qt::UTC)};
    for (auto _ : state)
        benchmark::DoNotOptimize(writer.document(header, log48h()));
}
BENCHMARK(BM_AdifText)->Unit(benchmark::kMillisecond);

// Country table, text and write; the write is a plain one, as the final sync depends on the disk.
void BM_AdifWholeExportWithoutSync(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Cubwave.adi"));
    for (auto _ : state) {
        const AdifCountryTableLoad table = AdifCountryTable::read(kTablePath);
        const AdifWriter writer(table.table, AdifPower::fromTyped(QStringLiteral("100")), QStringLiteral("N0CUB"));
        const QByteArray text =
            writer
                .document({ProductCaption::productName(ProductCaption::kMainWindowCaption, 60), QStringLiteral("now"),
                           QDateTime::currentDateTimeUtc()},
                          log48h())
                .text;
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size())
            std::abort();
    }
}
BENCHMARK(BM_AdifWholeExportWithoutSync)->Unit(benchmark::kMillisecond);

void BM_SummaryText(benchmark::State& state)
{
    CabrilloSummary::Header header;
    header.productName = QStringLiteral("Brantel's Cubwave Log 1.8");
    header.ownCall = QStringLiteral("K1ABC");
    header.soapbox = QStringLiteral("Fun\nAgain");
    for (auto _ : state)
        benchmark::DoNotOptimize(CabrilloSummary::document(header, log48h()));
}
BENCHMARK(BM_SummaryText)->Unit(benchmark::kMillisecond);

void BM_RateSeries48Hours(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(RateSeries::compute(log48h(), RateSeries::kBlack));
}
BENCHMARK(BM_RateSeries48Hours)->Unit(benchmark::kMillisecond);

// Every contact inside ten minutes: the walk back must not turn quadratic.
void BM_RateSeriesAllInTenMinutes(benchmark::State& state)
{
    const std::vector<QsoRecord> log = makeLog(kContacts, 599);
    for (auto _ : state)
        benchmark::DoNotOptimize(RateSeries::compute(log, RateSeries::kBlack));
}
BENCHMARK(BM_RateSeriesAllInTenMinutes)->Unit(benchmark::kMillisecond);

void BM_RatePaint1600x1000(benchmark::State& state)
{
    const RateSeries series = RateSeries::compute(log48h(), RateSeries::kBlack);
    const RateGeometry geometry{150, 1540, 80, 750, 765, 795, 10.0 / 15 * 2.5};
    QImage image(1600, 1000, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::black);
        QPainter painter(&image);
        RateGraphPainter::paintGuides(painter, geometry, RateSeries::kWhite);
        RateGraphPainter::paintSeries(painter, series, geometry);
    }
}
BENCHMARK(BM_RatePaint1600x1000)->Unit(benchmark::kMillisecond);

// The window built (its load computes the series) and painted once, offscreen.
void BM_OpenRateGraph(benchmark::State& state)
{
    bench::YesDialogs dialogs;
    for (auto _ : state) {
        RateGraphWindow window(log48h(), dialogs);
        window.resize(1600, 1000);
        QImage image(window.size(), QImage::Format_RGB32);
        window.render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_OpenRateGraph)->Unit(benchmark::kMillisecond);

}  // namespace

