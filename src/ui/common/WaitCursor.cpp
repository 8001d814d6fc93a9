#include "ui/common/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace cubwave {

WaitCursor::WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

WaitCursor::~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }

}  // namespace cubwave
