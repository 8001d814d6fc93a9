#pragma once

#include <QRect>

class QWidget;

namespace cubwave {

// One monitor as a window sees it, in logical pixels (15 twips each).
struct DesktopArea {
    QRect screen;    // the whole monitor
    QRect workArea;  // the monitor less the panels and docks the desktop reserves
};

// The monitor a window is on. Never the whole multi-monitor desktop: a window is sized and placed
// on one monitor.
class Desktop {
public:
    virtual ~Desktop() = default;
    // The monitor the window is on; the primary one for no window or one not yet on a monitor.
    virtual DesktopArea areaFor(const QWidget* window) const = 0;
    // False where the display server places windows itself and hides its panels (Wayland): a
    // window can then ask to be maximized, and its other sizes are requests.
    virtual bool placesWindows() const { return true; }
};

}  // namespace cubwave
