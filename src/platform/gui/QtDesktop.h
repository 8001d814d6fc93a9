#pragma once

#include "platform/Desktop.h"

namespace cubwave {

// The monitor from Qt's screens: geometry() and availableGeometry(), which on X11 follows the
// window manager's _NET_WORKAREA.
class QtDesktop final : public Desktop {
public:
    DesktopArea areaFor(const QWidget* window) const override;
    bool placesWindows() const override;
};

}  // namespace cubwave
