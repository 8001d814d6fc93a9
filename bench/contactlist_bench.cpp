// The recent-contacts list and whole-log rewrites with a full log.
#include "core/LogFile.h"
#include "BenchServices.h"
#include "core/LogLine.h"
#include "platform/SystemClock.h"
#include "ui/main/MainWindow.h"
#include "ui/main/AbsentPorts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace cubwave;
using cubwave::bench::SilentBeeper;
using cubwave::bench::YesDialogs;

namespace {

// A shown main window over a log of n contacts, listing all of them.
struct Window {
    explicit Window(int n)
    {
        bench::seedWorkingDir(dir.path(), n);
        form = std::make_unique<MainWindow>(MainWindowServices{clock, dialogs, beeper, dir.path(), dir.path(), dir.path(),
                                                     [](int) {}, [](QDialog&) { return 0; }},
                                       absent.ports());
        form->loadWindow();
        form->show();
        form->cmdList_Click();  // "All"
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    SystemClock clock;
    YesDialogs dialogs;
    SilentBeeper beeper;
    AbsentPorts absent;
    std::unique_ptr<MainWindow> form;
};

void BM_RecentListRefreshAll(benchmark::State& state)
{
    Window w(11000);
    for (auto _ : state) {
        w.form->RecentListRefresh();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_RecentListRefreshAll)->Unit(benchmark::kMillisecond);

void BM_CommitWithAllListed(benchmark::State& state)
{
    Window w(10700);
    auto* call = w.form->findChild<QLineEdit*>("txtCall");
    auto* spc = w.form->findChild<QLineEdit*>("txtCntry");
    int i = 0;
    for (auto _ : state) {
        call->setText(QStringLiteral("W%1XYZ").arg(i++));
        spc->setText(QStringLiteral("MA"));
        w.form->commitContact();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_CommitWithAllListed)->Unit(benchmark::kMillisecond)->Iterations(250);

void BM_EditOrDeleteRewriteAndReload(benchmark::State& state)
{
    Window w(11000);
    const LogFile log(w.dir.filePath("log.txt"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(log.rewrite(w.form->store().records()).ok);
        w.form->mnuOpen2();
    }
}
BENCHMARK(BM_EditOrDeleteRewriteAndReload)->Unit(benchmark::kMillisecond);

void BM_BandChangeTo6mWithReload(benchmark::State& state)
{
    Window w(11000);
    for (auto _ : state)
        w.form->bandCommand(QStringLiteral("6"));
}
BENCHMARK(BM_BandChangeTo6mWithReload)->Unit(benchmark::kMillisecond);

}  // namespace

