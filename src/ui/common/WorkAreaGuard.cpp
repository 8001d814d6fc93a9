#include "ui/common/WorkAreaGuard.h"

#include "platform/Desktop.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/ScreenLayout.h"

#include <QEvent>
#include <QWidget>

namespace cubwave {

WorkAreaGuard::WorkAreaGuard(const Desktop& desktop, QObject* parent) : QObject(parent), desktop_(desktop) {}

bool WorkAreaGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto* window = static_cast<QWidget*>(watched);
    const Qt::WindowType type = window->windowType();
    // Menus, tooltips and the like place themselves next to what opened them.
    if (!window->isWindow() || (type != Qt::Window && type != Qt::Dialog) || window->property(kPlacesItself).toBool())
        return false;
    const QRect frame = window->frameGeometry();
    const QRect inside = ScreenLayout::keepInside(frame, desktop_.areaFor(window).workArea);
    if (inside != frame)
        DesignLayout::setFrame(window, inside);
    return false;
}

}  // namespace cubwave
