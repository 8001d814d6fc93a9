#include "ui/common/LaidOutWindowFit.h"

#include "platform/Desktop.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/ScreenLayout.h"

#include <QLayout>
#include <QWidget>

#include <algorithm>

namespace cubwave {

namespace {

// Halvings of the range between the smallest font and the rule's when the rule's does not fit:
// enough to come within a quarter point of the largest that does. Style metrics (margins,
// indicators, scroll bars) stay in pixels while text grows, so the room needed is no simple
// multiple of the font and is measured at each step.
constexpr int kSearchSteps = 7;

// A title bar and borders as window managers commonly draw them.
constexpr QSize kUnknownDecoration(8, 32);

// Gaps as a share of the font's height: the style's gaps are fixed pixels, which would leave a
// large-font window cramped and a small-font one sparse, so they follow the text as the design
// grid's gaps do.
constexpr double kMarginEm = 0.45;
constexpr double kSpacingEm = 0.3;

void spaceLayoutsByFont(QWidget* window)
{
    const int em = window->fontMetrics().height();
    const int margin = std::max(1, qRound(em * kMarginEm));
    const int spacing = std::max(1, qRound(em * kSpacingEm));
    for (QLayout* layout : window->findChildren<QLayout*>()) {
        // A layout that was given no margins (a plain container inside another) keeps none.
        const QMargins m = layout->contentsMargins();
        if (!m.isNull())
            layout->setContentsMargins(margin, margin, margin, margin);
        if (layout->spacing() != 0)
            layout->setSpacing(spacing);
    }
}

void setWindowPoints(QWidget* window, double points)
{
    QFont f = window->font();
    f.setPointSizeF(DesignLayout::designPoints(points, window));
    window->setFont(f);
    spaceLayoutsByFont(window);
}

// The least room the layout needs at the current font. Activating it first clears what its
// nested layouts remember from the font before.
QSize neededSize(QWidget* window)
{
    QLayout* layout = window->layout();
    if (!layout)
        return window->minimumSizeHint().expandedTo(window->minimumSize());
    layout->activate();
    return layout->totalMinimumSize();
}

bool fitsIn(QSize needed, QSize room) { return needed.width() <= room.width() && needed.height() <= room.height(); }

}  // namespace

bool LaidOutWindowFit::fit(QWidget* window, QSize designSize)
{
    return fitTo(window, designSize, DesignLayout::areaFor(window));
}

bool LaidOutWindowFit::fit(QWidget* window, QSize designSize, const Desktop& desktop)
{
    return fitTo(window, designSize, desktop.areaFor(window));
}

bool LaidOutWindowFit::fitTo(QWidget* window, QSize designSize, const DesktopArea& area)
{
    if (!DesignLayout::screenKnown(window, area))
        return false;
    const QRect work = area.workArea.isEmpty() ? area.screen : area.workArea;
    // The title bar and borders are known once the window is on screen; before, room is kept
    // for a usual one, as a layout's window cannot be shrunk below its least size later.
    const QSize decoration =
        window->isVisible() ? window->frameGeometry().size() - window->geometry().size() : kUnknownDecoration;
    const QSize room = work.size() - decoration;

    const double rulePoints =
        ScreenLayout::kDesignWindowPoints * ScreenLayout::fontFactor(ScreenLayout::kDesignScreen, area.screen.size());
    setWindowPoints(window, rulePoints);
    QSize needed = neededSize(window);
    if (!fitsIn(needed, room) && rulePoints > kSmallestPoints) {
        double fitting = kSmallestPoints;  // assumed to fit; the window is as small as it gets there
        double tooLarge = rulePoints;
        for (int step = 0; step < kSearchSteps; ++step) {
            const double points = (fitting + tooLarge) / 2;
            setWindowPoints(window, points);
            (fitsIn(neededSize(window), room) ? fitting : tooLarge) = points;
        }
        setWindowPoints(window, fitting);
        needed = neededSize(window);
    }
    const QSize size =
        ScreenLayout::scaled(designSize, ScreenLayout::kDesignScreen, area.screen.size()).expandedTo(needed).boundedTo(room);
    window->resize(size);
    window->move(ScreenLayout::centredFrame(size + decoration, area).topLeft());
    return true;
}

}  // namespace cubwave
