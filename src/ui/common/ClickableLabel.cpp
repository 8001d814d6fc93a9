#include "ui/common/ClickableLabel.h"

#include <QMouseEvent>

namespace cubwave {

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) { setMouseTracking(true); }

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::mouseMoveEvent(QMouseEvent* event)
{
    // Taken here, so the window underneath does not treat it as a move over its bare surface.
    emit hovered();
    event->accept();
}

}  // namespace cubwave
