// Start of the main window to shown, with an 11,000-contact log to reload.
#include "BenchServices.h"
#include "core/LogLine.h"
#include "platform/SystemClock.h"
#include "ui/Form1.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace cubwave;
using cubwave::bench::SilentBeeper;
using cubwave::bench::YesDialogs;

namespace {

void BM_StartToMainWindowShown(benchmark::State& state)
{
    QTemporaryDir dir;
    QFile::copy(QStringLiteral(CUBWAVE_SOURCE_DIR "/data/cubwavepref.txt"), dir.filePath("cubwavepref.txt"));
    QFile::setPermissions(dir.filePath("cubwavepref.txt"), QFile::ReadOwner | QFile::WriteOwner);
    QFile log(dir.filePath("log.txt"));
    log.open(QIODevice::WriteOnly);
    for (int i = 0; i < 11000; ++i) {
        QsoRecord r;
        r[QsoRecord::Call] = QStringLiteral("K%1ABC").arg(i % 10) + QString::number(i);
        r[QsoRecord::Age] = "12";
        r[QsoRecord::Spc] = i % 3 ? QStringLiteral("CT") : QStringLiteral("Land %1").arg(i % 300);
        r[QsoRecord::Date] = "2026/06/13";
        r[QsoRecord::Time] = "18:05:33";
        r[QsoRecord::Mode] = i % 2 ? "CW" : "PH";
        r[QsoRecord::Band] = "20";
        r[QsoRecord::Name] = "ANN";
        log.write(LogLine::format(r).toUtf8() + "\r\n");
    }
    log.close();

    SystemClock clock;
    YesDialogs dialogs;
    SilentBeeper beeper;
    for (auto _ : state) {
        Form1 form({clock, dialogs, beeper, dir.path(), dir.path(), dir.path(), [](int) {}, [](QDialog&) { return 0; }});
        form.loadWindow();
        form.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form.store().count());
    }
}
BENCHMARK(BM_StartToMainWindowShown)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
