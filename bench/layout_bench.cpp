// Re-laying out the main window (fit to the screen, form size, the spot room) and stretching a
// dialog to the screen.
#include "BenchServices.h"
#include "platform/Desktop.h"
#include "platform/SystemClock.h"
#include "ui/common/DesignLayout.h"
#include "ui/main/AbsentPorts.h"
#include "ui/main/MainWindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace cubwave;
using cubwave::bench::SilentBeeper;
using cubwave::bench::FixedDesktop;
using cubwave::bench::YesDialogs;

namespace {

// One full re-layout per iteration, alternating between the two sizes so each one moves every
// control: the taskbar refit, the form size, and the spot room made and given back.
void BM_MainWindowRelayout(benchmark::State& state)
{
    QTemporaryDir dir;
    bench::seedWorkingDir(dir.path(), 200);
    SystemClock clock;
    YesDialogs dialogs;
    SilentBeeper beeper;
    AbsentPorts absent;
    FixedDesktop desktop;
    MainWindow form({clock, dialogs, beeper, dir.path(), dir.path(), dir.path(), [](int) {},
                     [](QDialog&) { return 0; }, {}, &desktop},
                    absent.ports());
    form.loadWindow();
    form.show();
    QCoreApplication::processEvents();
    const int step = static_cast<int>(state.range(0));
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        switch (step) {
        case 0:
            form.prefs().taskbar = flip ? 1 : 0;
            form.FitToScreen();
            break;
        case 1:
            form.prefs().windowSizePct = flip ? 90 : 100;
            form.ApplyFormSize();
            break;
        case 2:
            form.packetResize(flip ? QStringLiteral("Telnet") : QStringLiteral("None"), QString());
            break;
        default:
            // No re-layout, only the repaint of the whole window that follows one: the floor the
            // cases above stand on.
            form.update();
            break;
        }
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_MainWindowRelayout)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->ArgName("FitToScreen0_ApplyFormSize1_SpotRoom2_RepaintOnly3")
    ->Unit(benchmark::kMillisecond);

// A dialog of 60 controls, the size of the larger settings windows.
void BM_DialogScaleToScreen(benchmark::State& state)
{
    FixedDesktop desktop;
    QDialog dialog;
    DesignLayout layout({480, 360});
    for (int i = 0; i < 60; ++i) {
        QWidget* w = i % 2 ? static_cast<QWidget*>(new QLabel(QStringLiteral("Label %1").arg(i), &dialog))
                           : new QLineEdit(&dialog);
        layout.place(w, {10 + (i % 4) * 110, 10 + (i / 4) * 22, 100, 20}, 8);
    }
    for (auto _ : state) {
        layout.scaleDialogToScreen(&dialog, desktop);
        benchmark::DoNotOptimize(dialog.width());
    }
}
BENCHMARK(BM_DialogScaleToScreen)->Unit(benchmark::kMillisecond);

}  // namespace
