#include "app/SpotDisplayReport.h"

#include "spots/SpotListRow.h"
#include "ui/main/MainWindow.h"
#include "ui/spots/BandMapView.h"
#include "ui/common/PaintedItem.h"
#include "ui/spots/SpotListModel.h"

#include <QApplication>
#include <QTableView>
#include <QTimer>

#include <memory>

namespace cubwave {

namespace {

constexpr int kReportIntervalMs = 250;
constexpr int kReportedRows = 10;

QString placesNow(MainWindow& form)
{
    QString out;
    auto* map = form.findChild<BandMapView*>(QStringLiteral("lblDX"));
    if (map && map->isVisible()) {
        map->layOutIfDue();
        for (int slot = SpotStore::kSlots - 1; slot >= 0; --slot) {
            const PaintedItem& label = map->spotLabel(slot);
            if (!label.isVisible())
                continue;
            const QPoint at = map->mapToGlobal(label.geometry().center());
            out += QStringLiteral("spot-label %1 %2 %3 %4\n")
                       .arg(slot)
                       .arg(form.spotStore().slot(slot).call)
                       .arg(at.x())
                       .arg(at.y());
        }
    }
    auto* list = form.findChild<QTableView*>(QStringLiteral("txtDX"));
    auto* rows = form.findChild<SpotListModel*>();
    if (list && rows && list->isVisible()) {
        for (int row = 0; row < std::min(rows->rowCount(), kReportedRows); ++row) {
            const QRect r = list->visualRect(rows->index(row, 0));
            if (!list->viewport()->rect().contains(r.center()))
                break;
            const QPoint at = list->viewport()->mapToGlobal(r.center());
            out += QStringLiteral("spot-row %1 %2 %3 %4\n")
                       .arg(row)
                       .arg(rows->row(row).cells[SpotListRow::Call])
                       .arg(at.x())
                       .arg(at.y());
        }
    }
    // The spot window's display choice, so a run can pick "List" or "Band Map" as the operator does.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        for (const char* name : {"OptBand", "OptList"}) {
            const QWidget* option = top->findChild<QWidget*>(QLatin1String(name));
            if (!option || !option->isVisible())
                continue;
            // Its indicator, at the left: a stretched button takes clicks on its indicator and
            // caption only.
            const QPoint at = option->mapToGlobal(QPoint(option->height() / 2, option->height() / 2));
            out += QStringLiteral("option - %1 %2 %3\n").arg(QLatin1String(name)).arg(at.x()).arg(at.y());
        }
    }
    return out;
}

}  // namespace

void reportSpotDisplays(MainWindow& form, std::FILE* out)
{
    auto* timer = new QTimer(&form);
    timer->setInterval(kReportIntervalMs);
    auto last = std::make_shared<QString>();
    QObject::connect(timer, &QTimer::timeout, &form, [&form, out, last] {
        const QString now = placesNow(form);
        if (now == *last)
            return;
        *last = now;
        std::fputs(qPrintable(QStringLiteral("spot-report\n") + now), out);
        std::fflush(out);
    });
    timer->start();
}

}  // namespace cubwave
