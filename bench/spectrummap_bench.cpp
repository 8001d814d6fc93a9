// The HF spectrum map with a full store of 50 fresh spots spread over every row: laying the
// spots out, painting the map at 1920 x 1080, and the whole repaint a new spot sets off. A plain
// paint of the same number of texts and lines is measured beside it as the floor.
#include "BenchServices.h"
#include "platform/Clock.h"
#include "rig/RigControlPort.h"
#include "spots/SpotMapLayout.h"
#include "spots/SpotStore.h"
#include "ui/spots/SpectrumMapView.h"
#include "ui/spots/SpectrumMapWindow.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

using namespace cubwave;
using namespace cubwave::bench;

namespace {

class StillClock final : public Clock {
public:
    QDateTime localNow() const override { return QDateTime(QDate(2026, 6, 13), QTime(14, 5, 33), Qt::UTC); }
    QDateTime utcNow() const override { return localNow(); }
    qint64 ticksMs() const override { return 1000; }
    void sleepMs(int) override {}
};

void fill(SpotStore& store, const Clock& clock)
{
    const auto& rows = SpotMapRules::spectrumRows();
    for (int i = 0; i < SpotStore::kSlots; ++i) {
        const BandWindow w = rows[size_t(i % rows.size())].window;
        const double kHz = (w.lowerMHz + (w.upperMHz - w.lowerMHz) * (0.05 + 0.9 * ((i * 37) % 50) / 50.0)) * 1000;
        store.add(QStringLiteral("K%1AB%2").arg(i % 10).arg(QChar('A' + i % 26)), QString::number(kHz, 'f', 1),
                  QStringLiteral("de W3LPL"), QStringLiteral("N0OWN"), clock.localNow(), clock.ticksMs());
    }
}

struct Map {
    StillClock clock;
    SpotStore store;
    AbsentRigControl rig;
    FixedDesktop desktop;
    SpectrumMapWindow window{{store, rig, clock, &desktop, 0, {}}};

    Map() { fill(store, clock); window.BandMapLabelDisplay(); }
};

void BM_SpectrumLayout50(benchmark::State& state)
{
    Map map;
    const auto lines = map.window.view()->lines();
    for (auto _ : state)
        benchmark::DoNotOptimize(SpotMapRules::spectrum(map.store, map.clock.ticksMs(), 0, lines));
    state.counters["shown"] =
        double(SpotMapRules::spectrum(map.store, map.clock.ticksMs(), 0, lines).shown.size());
}
BENCHMARK(BM_SpectrumLayout50)->Unit(benchmark::kMicrosecond);

// The layout's two parts: the eleven row scales, and the fifty tooltips.
void BM_SpectrumRowScales(benchmark::State& state)
{
    Map map;
    for (auto _ : state) {
        for (const SpectrumRow& row : SpotMapRules::spectrumRows())
            benchmark::DoNotOptimize(SpotMapRules::scale(map.store, row.window));
    }
}
BENCHMARK(BM_SpectrumRowScales)->Unit(benchmark::kMicrosecond);

void BM_SpectrumTooltips50(benchmark::State& state)
{
    Map map;
    for (auto _ : state) {
        for (int i = 0; i < SpotStore::kSlots; ++i)
            benchmark::DoNotOptimize(SpotMapRules::tooltip(map.store.slot(i), 0));
    }
}
BENCHMARK(BM_SpectrumTooltips50)->Unit(benchmark::kMicrosecond);

void BM_SpectrumPaint50(benchmark::State& state)
{
    Map map;
    SpectrumMapView& view = *map.window.view();
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["width"] = view.width();
    state.counters["height"] = view.height();
}
BENCHMARK(BM_SpectrumPaint50)->Unit(benchmark::kMillisecond);

// The whole repaint after a spot: hourglass, layout, placing the labels and painting.
void BM_SpectrumDisplayAndPaint50(benchmark::State& state)
{
    Map map;
    SpectrumMapView& view = *map.window.view();
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        map.window.BandMapLabelDisplay();
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_SpectrumDisplayAndPaint50)->Unit(benchmark::kMillisecond);

// The floor: a panel, 11 lines and 116 short texts with a plain painter.
void BM_PlainPaintOfAsManyTexts(benchmark::State& state)
{
    Map map;
    SpectrumMapView& view = *map.window.view();
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    const QFont font = view.font();
    for (auto _ : state) {
        QPainter p(&image);
        p.setFont(font);
        p.fillRect(image.rect(), QColor(0, 0, 128));
        p.setPen(Qt::white);
        const int rowHeight = image.height() / 11;
        for (int k = 0; k < 11; ++k) {
            const int y = rowHeight * k + rowHeight / 2;
            p.drawLine(100, y, image.width() - 40, y);
            p.drawText(QRect(4, y - 10, 80, 20), Qt::AlignLeft, QStringLiteral("160 m"));
            for (int j = 0; j < 5; ++j)
                p.drawText(QRect(100 + j * 300, y + 2, 80, 20), Qt::AlignCenter, QStringLiteral("14.175"));
        }
        for (int i = 0; i < 50; ++i) {
            const QRect r(120 + (i * 97) % (image.width() - 200), rowHeight * (i % 11) + rowHeight / 2 - 20, 40, 20);
            p.fillRect(r, QColor(0, 0, 128));
            p.drawText(r, Qt::AlignCenter, QStringLiteral("K1"));
        }
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PlainPaintOfAsManyTexts)->Unit(benchmark::kMillisecond);

}  // namespace
