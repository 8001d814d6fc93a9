// Start of the main window to shown, with an 11,000-contact log to reload.
#include "BenchServices.h"
#include "core/LogLine.h"
#include "platform/Desktop.h"
#include "platform/SystemClock.h"
#include "ui/main/MainWindow.h"
#include "ui/main/AbsentPorts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace cubwave;
using cubwave::bench::SilentBeeper;
using cubwave::bench::FixedDesktop;
using cubwave::bench::YesDialogs;

namespace {

void BM_StartToMainWindowShown(benchmark::State& state)
{
    QTemporaryDir dir;
    bench::seedWorkingDir(dir.path(), 11000);

    SystemClock clock;
    YesDialogs dialogs;
    SilentBeeper beeper;
    AbsentPorts absent;
    FixedDesktop desktop;
    for (auto _ : state) {
        MainWindow form({clock, dialogs, beeper, dir.path(), dir.path(), dir.path(), [](int) {}, [](QDialog&) { return 0; },
                         {}, &desktop},
                        absent.ports());
        form.loadWindow();
        form.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form.store().count());
    }
}
BENCHMARK(BM_StartToMainWindowShown)->Unit(benchmark::kMillisecond);

}  // namespace

