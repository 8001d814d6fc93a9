#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

class QWidget;

namespace cubwave {

class Desktop;
class Dialogs;
struct DesktopArea;

// Every window is laid out once on a design surface (640 x 480 for a full screen, i.e. 9600 x
// 7200 twips at 15 twips a pixel) and stretched to its real size: positions and sizes by the
// two ratios, fonts by the smaller one.
class DesignLayout {
public:
    explicit DesignLayout(QSize designSize) : designSize_(designSize) {}

    void place(QWidget* widget, QRect design, double pointSize);
    // A line: stretched like a control, but no font and never the lowest control.
    void placeLine(QWidget* line, QRect design);
    // Stretches every placed control to a client area of this size.
    void apply(QSize area) const;
    // As apply(), with tops and heights pressed into verticalShare of the height; always from the
    // design, so pressing and releasing any number of times lands on the same pixels. Returns
    // the lowest bottom edge of the controls other than lines.
    int applyPressed(QSize area, double verticalShare) const;

    // Sizes a dialog from the full-screen design surface to its screen and centres it, raised by
    // 170 twips as dialogs have always been, inside the work area of its monitor. False, with
    // "Form Resize Error" shown, when the monitor has no size: the dialog keeps its own.
    bool scaleDialogToScreen(QWidget* dialog) const;
    bool scaleDialogToScreen(QWidget* dialog, const Desktop& desktop) const;
    // The general form: the window's design size stretched from designScreen to newScreen; with
    // fullScreen the window takes newScreen's size itself. Fonts also by fontFactor, and in
    // fontName when it is not empty. Kept inside the work area; false as above.
    bool scaleTo(QWidget* window, QSize newScreen, QSize designScreen, bool fullScreen, double fontFactor,
                 const QString& fontName, const Desktop& desktop);

    // The design's point sizes assume 96 dots an inch (15 twips a pixel): the point size that
    // keeps a font's height in pixels, and so the layout, on a display that reports another.
    static constexpr int kDesignDpi = 96;
    static double designPoints(double points, const QWidget* widget);

    // Sets a window's frame, title bar included, to this rectangle: the client area is the frame
    // less the decoration, known once the window is shown (none before).
    static void setFrame(QWidget* window, QRect frame);

    // The desktop every dialog is fitted to, and where a failure to fit one is reported; set once
    // by the program at start-up. Without a desktop a dialog uses the monitor Qt reports for it.
    static void useDesktop(const Desktop* desktop, Dialogs* dialogs = nullptr);
    static const Desktop* desktop();
    // The monitor of a window: from the program's desktop, else as Qt reports it.
    static DesktopArea areaFor(const QWidget* window);
    // True when a window can be fitted to this monitor. Otherwise "Form Resize Error" says why
    // through the program's dialogs (or the ones given), and the window keeps its size, moved inside whatever part
    // of the monitor is known.
    static bool screenKnown(QWidget* window, const DesktopArea& area);
    static bool screenKnown(QWidget* window, const DesktopArea& area, Dialogs* dialogs);

private:
    bool fitDialog(QWidget* dialog, const DesktopArea& area) const;

    struct Placed {
        QWidget* widget;
        QRect design;
        double pointSize;
        bool line;
    };
    QSize designSize_;
    double fontFactor_ = 1.0;  // ScaleFormTo's font factor on top of the stretch
    std::vector<Placed> placed_;
};

}  // namespace cubwave
