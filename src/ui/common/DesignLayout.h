#pragma once

#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

namespace cubwave {

// Every window is laid out once on a design surface (640 x 480 for a full screen, i.e. 9600 x
// 7200 twips at 15 twips a pixel) and stretched to its real size: positions and sizes by the
// two ratios, fonts by the smaller one.
class DesignLayout {
public:
    explicit DesignLayout(QSize designSize) : designSize_(designSize) {}

    void place(QWidget* widget, QRect design, double pointSize);
    // Stretches every placed control to a client area of this size.
    void apply(QSize area) const;

    // Sizes a dialog from the full-screen design surface to its screen and centres it, raised by
    // 170 twips as dialogs have always been.
    void scaleDialogToScreen(QWidget* dialog) const;

private:
    struct Placed {
        QWidget* widget;
        QRect design;
        double pointSize;
    };
    QSize designSize_;
    std::vector<Placed> placed_;
};

}  // namespace cubwave
