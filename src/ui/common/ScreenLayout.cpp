#include "ui/common/ScreenLayout.h"

#include <algorithm>
#include <cmath>

namespace cubwave {

QSize ScreenLayout::scaled(QSize design, QSize from, QSize to)
{
    if (from.isEmpty())
        return design;
    return {qRound(design.width() * double(to.width()) / from.width()),
            qRound(design.height() * double(to.height()) / from.height())};
}

double ScreenLayout::fontFactor(QSize from, QSize to)
{
    if (from.isEmpty())
        return 1.0;
    return std::min(double(to.width()) / from.width(), double(to.height()) / from.height());
}

QRect ScreenLayout::keepInside(QRect frame, QRect workArea)
{
    if (workArea.isEmpty())
        return frame;
    const int w = std::min(frame.width(), workArea.width());
    const int h = std::min(frame.height(), workArea.height());
    const int x = std::clamp(frame.x(), workArea.left(), workArea.left() + workArea.width() - w);
    const int y = std::clamp(frame.y(), workArea.top(), workArea.top() + workArea.height() - h);
    return {x, y, w, h};
}

QRect ScreenLayout::centredFrame(QSize frame, const DesktopArea& desktop)
{
    const QRect& s = desktop.screen;
    const QRect centred(s.left() + (s.width() - frame.width()) / 2,
                        s.top() + (s.height() - frame.height()) / 2 - kDialogRaisePx, frame.width(), frame.height());
    return keepInside(centred, desktop.workArea.isEmpty() ? s : desktop.workArea);
}

QRect ScreenLayout::dialogFrame(QSize design, const DesktopArea& desktop)
{
    return centredFrame(scaled(design, kDesignScreen, desktop.screen.size()), desktop);
}

std::optional<QString> ScreenLayout::areaProblem(const DesktopArea& desktop)
{
    if (desktop.screen.isEmpty())
        return QStringLiteral("No screen size was reported for this window (no monitor, or one of no size), "
                              "so it keeps its present size.");
    return std::nullopt;
}

QRect ScreenLayout::mainWindowFrame(int percent, bool taskbar, const DesktopArea& desktop)
{
    const int p = usablePercent(percent);
    const QRect& s = desktop.screen;
    const QRect work = desktop.workArea.isEmpty() ? s : desktop.workArea;
    if (p == kMaxPercent)
        return taskbar ? work : s;
    const int w = qRound(p * s.width() / 100.0);
    const int h = qRound(p * s.height() / 100.0);
    return keepInside({s.left() + (s.width() - w) / 2, s.top() + (s.height() - h) / 2, w, h}, work);
}

int ScreenLayout::usablePercent(int storedPercent)
{
    return storedPercent < kMinPercent || storedPercent > kMaxPercent ? kMaxPercent : storedPercent;
}

std::optional<int> ScreenLayout::formSizeAnswer(const QString& answer)
{
    bool ok = false;
    const double value = answer.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    // Held to the range before rounding, so no huge answer overflows an int.
    const double held = std::clamp(value, double(kMinPercent), double(kMaxPercent));
    return static_cast<int>(std::floor(held + 0.5));
}

double ScreenLayout::windowFontFactor(QSize screen, int percent)
{
    return screen.width() / double(kDesignScreen.width()) * usablePercent(percent) / 100.0;
}

QRect ScreenLayout::spotRoom(QSize client, int lowestControlBottom)
{
    const int top = std::clamp(lowestControlBottom, 0, client.height());
    return {qRound(0.01 * client.width()), top, qRound(0.97 * client.width()), client.height() - top};
}

}  // namespace cubwave
