#include "ui/main/MainWindow.h"

namespace cubwave {

void MainWindow::bandMapSpots(const QString& call, const QString& frequency, const QString& record)
{
    handedSpots_.push_back({call, frequency, record});
    while (handedSpots_.size() > size_t(kSpotHookRecords))
        handedSpots_.pop_front();
}

void MainWindow::displayBandMapLabels() { ++bandMapRepaints_; }

}  // namespace cubwave
