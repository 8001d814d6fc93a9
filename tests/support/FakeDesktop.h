#pragma once

#include "platform/Desktop.h"

#include <array>

namespace cubwave::test {

// A monitor of fixed size with a panel along its bottom edge.
class FakeDesktop final : public Desktop {
public:
    static constexpr int kPanelPx = 32;

    explicit FakeDesktop(QSize screen = {1024, 768}, int panelPx = kPanelPx) { setScreen(screen, panelPx); }

    void setScreen(QSize screen, int panelPx = kPanelPx)
    {
        area.screen = QRect(QPoint(0, 0), screen);
        area.workArea = QRect(0, 0, screen.width(), screen.height() - panelPx);
    }

    DesktopArea areaFor(const QWidget*) const override { return area; }
    bool placesWindows() const override { return places; }

    DesktopArea area;
    bool places = true;  // false: as under Wayland
};

// The screen sizes every layout is checked at.
inline constexpr std::array<QSize, 5> kScreenSizes{
    QSize(1024, 768), QSize(1280, 1024), QSize(1366, 768), QSize(1920, 1080), QSize(3840, 2160)};

}  // namespace cubwave::test
