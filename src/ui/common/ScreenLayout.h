#pragma once

#include "platform/Desktop.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace cubwave {

// The arithmetic of fitting windows to a screen, in logical pixels: every window is designed on a
// 640 x 480 surface (9600 x 7200 twips at 15 twips a pixel) and stretched by the screen's ratios.
// Plain values in, rectangles out, so every screen size can be checked without a display.
class ScreenLayout {
public:
    static constexpr int kTwipsPerPixel = 15;
    static constexpr QSize kDesignScreen{640, 480};
    // Centred dialogs sit 170 twips above the middle.
    static constexpr int kDialogRaisePx = 170 / kTwipsPerPixel;
    // The windows' own font on the design surface, before it is stretched to the screen.
    static constexpr double kDesignWindowPoints = 8.0;
    static constexpr int kMinPercent = 30;
    static constexpr int kMaxPercent = 100;
    // The share of the height the controls keep while a spot display has the rest.
    static constexpr double kSpotControlsShare = 0.9;

    // A design size stretched from one surface to another by the two ratios.
    static QSize scaled(QSize design, QSize from, QSize to);
    // The smaller of the two ratios from one surface to another: what fonts follow.
    static double fontFactor(QSize from, QSize to);

    // A dialog's frame: its design size stretched to the screen, centred 170 twips above the
    // middle, then kept inside the work area (shrunk to it when larger) so its title bar and
    // left edge can always be reached.
    static QRect dialogFrame(QSize design, const DesktopArea& desktop);
    // A frame of this size centred 170 twips above the middle of the screen, kept inside the
    // work area.
    static QRect centredFrame(QSize frame, const DesktopArea& desktop);
    // A frame of its own size kept inside the work area: moved in, and shrunk when larger.
    static QRect keepInside(QRect frame, QRect workArea);

    // Why no window can be fitted to this monitor (a headless or disconnected display reports
    // none, or one of no size); nothing when it can. Shown under kResizeErrorTitle.
    static std::optional<QString> areaProblem(const DesktopArea& desktop);
    static constexpr const char* kResizeErrorTitle = "Form Resize Error";

    // The main window's frame: at 100 % the whole screen, or the work area with the taskbar
    // option; below, that share of the screen centred on it and kept inside the work area.
    static QRect mainWindowFrame(int percent, bool taskbar, const DesktopArea& desktop);
    // A stored percentage as the window uses it: anything outside 30-100 is 100.
    static int usablePercent(int storedPercent);
    // The "Form Size" answer as a percentage: rounded to a whole percent (halves up) and held to
    // 30-100; nothing when it is not a number.
    static std::optional<int> formSizeAnswer(const QString& answer);
    // The main window's own font (menu bar, message boxes) against the design's: screen width
    // / 640 x percent / 100.
    static double windowFontFactor(QSize screen, int percent);

    // The spot display's room under the squeezed controls: from the lowest control's bottom to
    // the client area's, 1 % in from the left, 97 % of the width.
    static QRect spotRoom(QSize client, int lowestControlBottom);
};

}  // namespace cubwave
