#include "ui/common/DesignLayout.h"

#include "platform/Desktop.h"
#include "ui/common/ScreenLayout.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace cubwave {

namespace {

const Desktop* g_desktop = nullptr;

// The monitor Qt reports for the window, for a program that has set no desktop.
DesktopArea widgetScreen(const QWidget* window)
{
    const QScreen* s = window->screen();
    if (!s)
        return {QRect(QPoint(0, 0), ScreenLayout::kDesignScreen), QRect(QPoint(0, 0), ScreenLayout::kDesignScreen)};
    return {s->geometry(), s->availableGeometry()};
}

}  // namespace

void DesignLayout::setFrame(QWidget* window, QRect frame)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    const int extraW = window->isVisible() ? outer.width() - inner.width() : 0;
    const int extraH = window->isVisible() ? outer.height() - inner.height() : 0;
    window->resize(std::max(1, frame.width() - extraW), std::max(1, frame.height() - extraH));
    window->move(frame.topLeft());
}

double DesignLayout::designPoints(double points, const QWidget* widget)
{
    const int dpi = widget ? widget->logicalDpiY() : kDesignDpi;
    return dpi > 0 ? points * kDesignDpi / dpi : points;
}

void DesignLayout::useDesktop(const Desktop* desktop) { g_desktop = desktop; }

const Desktop* DesignLayout::desktop() { return g_desktop; }

void DesignLayout::place(QWidget* widget, QRect design, double pointSize)
{
    placed_.push_back({widget, design, pointSize, false});
}

void DesignLayout::placeLine(QWidget* line, QRect design)
{
    placed_.push_back({line, design, 0, true});
}

void DesignLayout::apply(QSize area) const { applyPressed(area, 1.0); }

int DesignLayout::applyPressed(QSize area, double verticalShare) const
{
    const double sx = area.width() / static_cast<double>(designSize_.width());
    const double sy = area.height() / static_cast<double>(designSize_.height()) * verticalShare;
    // Fonts follow the window, not the press: the controls get shorter, their text stays legible.
    const double sf =
        std::max(0.5, std::min(sx, area.height() / static_cast<double>(designSize_.height()))) * fontFactor_;
    int lowest = 0;
    for (const Placed& p : placed_) {
        // Each edge rounded from the design, so controls that touch in the design touch on the
        // screen too, never overlapping by a rounded pixel.
        const int left = qRound(p.design.x() * sx);
        const int top = qRound(p.design.y() * sy);
        const QRect r(left, top, std::max(1, qRound((p.design.x() + p.design.width()) * sx) - left),
                      std::max(1, qRound((p.design.y() + p.design.height()) * sy) - top));
        p.widget->setGeometry(r);
        if (p.line)
            continue;
        lowest = std::max(lowest, r.y() + r.height());
        // An unchanged font is not set again: each set re-polishes the control and its children.
        const double points = designPoints(p.pointSize * sf, p.widget);
        if (p.widget->font().pointSizeF() == points && p.widget->font().resolveMask() & QFont::SizeResolved)
            continue;
        QFont f = p.widget->font();
        f.setPointSizeF(points);
        p.widget->setFont(f);
    }
    return lowest;
}

void DesignLayout::scaleDialogToScreen(QWidget* dialog) const
{
    const DesktopArea area = g_desktop ? g_desktop->areaFor(dialog) : widgetScreen(dialog);
    setFrame(dialog, ScreenLayout::dialogFrame(designSize_, area));
    apply(dialog->size());
}

void DesignLayout::scaleDialogToScreen(QWidget* dialog, const Desktop& desktop) const
{
    setFrame(dialog, ScreenLayout::dialogFrame(designSize_, desktop.areaFor(dialog)));
    apply(dialog->size());
}

void DesignLayout::scaleTo(QWidget* window, QSize newScreen, QSize designScreen, bool fullScreen, double fontFactor,
                           const QString& fontName, const Desktop& desktop)
{
    const DesktopArea area = desktop.areaFor(window);
    const QSize size = fullScreen ? newScreen : ScreenLayout::scaled(designSize_, designScreen, newScreen);
    const QRect& s = area.screen;
    const QRect centred(s.left() + (s.width() - size.width()) / 2,
                        s.top() + (s.height() - size.height()) / 2 - ScreenLayout::kDialogRaisePx, size.width(),
                        size.height());
    setFrame(window, ScreenLayout::keepInside(centred, area.workArea.isEmpty() ? s : area.workArea));
    if (!fontName.isEmpty()) {
        for (const Placed& p : placed_) {
            QFont f = p.widget->font();
            f.setFamily(fontName);
            p.widget->setFont(f);
        }
    }
    fontFactor_ = fontFactor;
    apply(window->size());
}

}  // namespace cubwave
