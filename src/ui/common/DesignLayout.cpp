#include "ui/common/DesignLayout.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace cubwave {

namespace {
constexpr double kScreenDesignWidth = 640;
constexpr double kScreenDesignHeight = 480;
constexpr int kCentreRaisePx = 170 / 15;
}  // namespace

void DesignLayout::place(QWidget* widget, QRect design, double pointSize)
{
    placed_.push_back({widget, design, pointSize});
}

void DesignLayout::apply(QSize area) const
{
    const double sx = area.width() / static_cast<double>(designSize_.width());
    const double sy = area.height() / static_cast<double>(designSize_.height());
    const double sf = std::max(0.5, std::min(sx, sy));
    for (const Placed& p : placed_) {
        p.widget->setGeometry(qRound(p.design.x() * sx), qRound(p.design.y() * sy),
                              std::max(1, qRound(p.design.width() * sx)), std::max(1, qRound(p.design.height() * sy)));
        QFont f = p.widget->font();
        f.setPointSizeF(p.pointSize * sf);
        p.widget->setFont(f);
    }
}

void DesignLayout::scaleDialogToScreen(QWidget* dialog) const
{
    const QScreen* s = dialog->screen();
    const QRect area = s ? s->geometry() : QRect(0, 0, int(kScreenDesignWidth), int(kScreenDesignHeight));
    const double sx = area.width() / kScreenDesignWidth;
    const double sy = area.height() / kScreenDesignHeight;
    dialog->resize(qRound(designSize_.width() * sx), qRound(designSize_.height() * sy));
    dialog->move(area.left() + (area.width() - dialog->width()) / 2,
                 std::max(area.top(), area.top() + (area.height() - dialog->height()) / 2 - kCentreRaisePx));
    apply(dialog->size());
}

}  // namespace cubwave
