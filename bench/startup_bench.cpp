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
using cubwave::bench::YesDialogs;

namespace {

// The window fits itself to a monitor as it does in the program.
class FixedDesktop final : public Desktop {
public:
    DesktopArea areaFor(const QWidget*) const override { return {{0, 0, 1920, 1080}, {0, 0, 1920, 1048}}; }
};

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

