#include "platform/gui/QtDesktop.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace cubwave {

DesktopArea QtDesktop::areaFor(const QWidget* window) const
{
    // A widget not yet on a monitor reports the primary one (or its parent's).
    const QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {screen->geometry(), screen->availableGeometry()};
}

bool QtDesktop::placesWindows() const
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace cubwave
