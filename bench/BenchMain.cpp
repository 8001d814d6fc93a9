// The one main of every benchmark program. Window benchmarks get an offscreen QApplication,
// those that run an event loop a QCoreApplication, and logic benchmarks no application object:
// they measure the logic alone, without a platform plugin and its threads in the process.
#include <benchmark/benchmark.h>

#if CUBWAVE_BENCH_APP == 2
#include <QApplication>
#elif CUBWAVE_BENCH_APP == 1
#include <QCoreApplication>
#endif

int main(int argc, char** argv)
{
#if CUBWAVE_BENCH_APP == 2
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#elif CUBWAVE_BENCH_APP == 1
    QCoreApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
