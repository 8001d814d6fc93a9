#include "platform/gui/QtBeeper.h"

#include <QApplication>

namespace cubwave {

void QtBeeper::beep() { QApplication::beep(); }

}  // namespace cubwave
