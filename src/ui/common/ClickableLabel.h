#pragma once

#include <QLabel>

namespace cubwave {

// A label that acts as a button and reports the mouse moving over it.
class ClickableLabel : public QLabel {
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget* parent = nullptr);

signals:
    void clicked();
    void hovered();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace cubwave
