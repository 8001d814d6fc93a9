// The band plan. Targets: the rig's band plan loaded from the shipped "BandPlan.txt"
// (LoadBandPlan) within 1 ms; the mode for a frequency within 1 us; a class laid out within
// 30 ms (the layout itself; the window only places the labels it gives).
#include "bandplan/BandPlanFile.h"
#include "bandplan/LicenceClasses.h"
#include "bandplan/PrivilegesLayout.h"
#include "bandplan/SidebandTable.h"

#include <benchmark/benchmark.h>

using namespace cubwave;

namespace {

const QString kShipped = QStringLiteral(CUBWAVE_SOURCE_DIR "/data");

void BM_LoadBandPlanForModeCommands(benchmark::State& state)
{
    for (auto _ : state) {
        SidebandTable table = SidebandTable::load(kShipped);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_LoadBandPlanForModeCommands)->Unit(benchmark::kMicrosecond);

void BM_ReadBandPlanForTheWindow(benchmark::State& state)
{
    for (auto _ : state) {
        BandPlanFile::Contents contents = BandPlanFile::read(kShipped);
        benchmark::DoNotOptimize(contents);
    }
}
BENCHMARK(BM_ReadBandPlanForTheWindow)->Unit(benchmark::kMicrosecond);

void BM_SidebandForFrequency(benchmark::State& state)
{
    const SidebandTable table = SidebandTable::load(kShipped);
    // Early in the file, late in it (the last record lies beyond every band), and outside all.
    const float mhz[] = {1.9f, 7.2f, 1296.f, 100.f};
    const float f = mhz[state.range(0)];
    for (auto _ : state) {
        QString mode = table.sidebandFor(f);
        benchmark::DoNotOptimize(mode);
    }
}
BENCHMARK(BM_SidebandForFrequency)->DenseRange(0, 3)->Unit(benchmark::kNanosecond);

void BM_LayOutAClass(benchmark::State& state)
{
    const BandPlanFile::Contents plan = BandPlanFile::read(kShipped);
    const PrivilegesLayout::Frame frame{1920, 1040, 173, 1.5};
    const QString licenceClass = QString::fromLatin1(kLicenceClasses[size_t(state.range(0))].licenceClass);
    for (auto _ : state) {
        PrivilegesDrawing drawing = PrivilegesLayout::draw(plan.records, licenceClass, frame);
        benchmark::DoNotOptimize(drawing);
    }
}
BENCHMARK(BM_LayOutAClass)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

}  // namespace
