#pragma once

#include <QSize>

class QWidget;

namespace cubwave {

class Desktop;
struct DesktopArea;

// Windows arranged by Qt's layouts, not on the design grid, follow the same rule as the grid
// windows: the window font is the design's point size times the smaller of the screen's two
// ratios to the 640 x 480 design surface, the window is its design size times the two ratios,
// centred as the dialogs are, and never larger than the work area. Where the layout would need
// more room than the work area at that font, the font steps down until it fits, so no control is
// ever squeezed below its text.
class LaidOutWindowFit {
public:
    // Below this a font steps no further: the window is then as small as its layout allows.
    static constexpr double kSmallestPoints = 6.0;

    // designSize is on the 640 x 480 surface. False, with "Form Resize Error" shown, when the
    // monitor has no size: the window keeps its size and font.
    static bool fit(QWidget* window, QSize designSize);  // the program's desktop
    static bool fit(QWidget* window, QSize designSize, const Desktop& desktop);

private:
    static bool fitTo(QWidget* window, QSize designSize, const DesktopArea& area);
};

}  // namespace cubwave
