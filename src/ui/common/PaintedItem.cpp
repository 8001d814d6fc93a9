#include "ui/common/PaintedItem.h"

namespace cubwave {

PaintedItem::PaintedItem(const QString& name, QObject* parent) : QObject(parent) { setObjectName(name); }

void PaintedItem::show(const QString& text, const QString& toolTip, const QRect& geometry, const QColor& colour)
{
    text_ = text;
    toolTip_ = toolTip;
    geometry_ = geometry;
    colour_ = colour;
    visible_ = true;
}

}  // namespace cubwave
