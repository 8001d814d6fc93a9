#include "ui/spots/PaintedMapLabel.h"

namespace cubwave {

PaintedMapLabel::PaintedMapLabel(const QString& name, QObject* parent) : QObject(parent) { setObjectName(name); }

void PaintedMapLabel::show(const QString& text, const QString& toolTip, const QRect& geometry, const QColor& colour)
{
    text_ = text;
    toolTip_ = toolTip;
    geometry_ = geometry;
    colour_ = colour;
    visible_ = true;
}

}  // namespace cubwave
