#include "ui/common/DesignLayout.h"

#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "ui/common/ScreenLayout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace cubwave {

namespace {

const Desktop* g_desktop = nullptr;
Dialogs* g_dialogs = nullptr;

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
    // Without a widget, the dots an inch of the primary monitor, where new windows open.
    const QScreen* primary = QGuiApplication::primaryScreen();
    const double dpi = widget ? widget->logicalDpiY() : primary ? primary->logicalDotsPerInchY() : kDesignDpi;
    return dpi > 0 ? points * kDesignDpi / dpi : points;
}

void DesignLayout::useDesktop(const Desktop* desktop, Dialogs* dialogs)
{
    g_desktop = desktop;
    g_dialogs = dialogs;
}

const Desktop* DesignLayout::desktop() { return g_desktop; }

DesktopArea DesignLayout::areaFor(const QWidget* window)
{
    return g_desktop ? g_desktop->areaFor(window) : widgetScreen(window);
}

bool DesignLayout::screenKnown(QWidget* window, const DesktopArea& area) { return screenKnown(window, area, g_dialogs); }

bool DesignLayout::screenKnown(QWidget* window, const DesktopArea& area, Dialogs* dialogs)
{
    const std::optional<QString> problem = ScreenLayout::areaProblem(area);
    if (!problem)
        return true;
    const QRect frame = window->frameGeometry();
    const QRect inside = ScreenLayout::keepInside(frame, area.workArea);
    if (inside != frame)
        setFrame(window, inside);
    if (dialogs)
        dialogs->message(QString::fromLatin1(ScreenLayout::kResizeErrorTitle), *problem);
    return false;
}

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

bool DesignLayout::scaleDialogToScreen(QWidget* dialog) const
{
    return g_desktop ? scaleDialogToScreen(dialog, *g_desktop) : fitDialog(dialog, widgetScreen(dialog));
}

bool DesignLayout::scaleDialogToScreen(QWidget* dialog, const Desktop& desktop) const
{
    return fitDialog(dialog, desktop.areaFor(dialog));
}

bool DesignLayout::fitDialog(QWidget* dialog, const DesktopArea& area) const
{
    if (!screenKnown(dialog, area)) {
        apply(dialog->size());
        return false;
    }
    setFrame(dialog, ScreenLayout::dialogFrame(designSize_, area));
    apply(dialog->size());
    return true;
}

bool DesignLayout::scaleTo(QWidget* window, QSize newScreen, QSize designScreen, bool fullScreen, double fontFactor,
                           const QString& fontName, const Desktop& desktop)
{
    const DesktopArea area = desktop.areaFor(window);
    if (!screenKnown(window, area)) {
        apply(window->size());
        return false;
    }
    const QSize size = fullScreen ? newScreen : ScreenLayout::scaled(designSize_, designScreen, newScreen);
    setFrame(window, ScreenLayout::centredFrame(size, area));
    if (!fontName.isEmpty()) {
        for (const Placed& p : placed_) {
            QFont f = p.widget->font();
            f.setFamily(fontName);
            p.widget->setFont(f);
        }
    }
    fontFactor_ = fontFactor;
    apply(window->size());
    return true;
}

}  // namespace cubwave
