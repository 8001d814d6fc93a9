#pragma once

#include <QColor>
#include <QObject>
#include <QRect>
#include <QString>

namespace cubwave {

// A label or line that a custom-painted widget draws itself, kept as a light child object with
// the control's name, so tests, screen readers and tooltips find it as they would a real widget
// while the widget paints many of them in one pass.
class PaintedItem : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString text READ text)
    Q_PROPERTY(QString toolTip READ toolTip)
    Q_PROPERTY(QRect geometry READ geometry)
    Q_PROPERTY(QColor colour READ colour)
    Q_PROPERTY(bool visible READ isVisible)

public:
    PaintedItem(const QString& name, QObject* parent);

    const QString& text() const { return text_; }
    const QString& toolTip() const { return toolTip_; }
    // In the painting widget's coordinates; a line is one pixel high, from x1 to x2.
    const QRect& geometry() const { return geometry_; }
    const QColor& colour() const { return colour_; }
    bool isVisible() const { return visible_; }

    void setText(const QString& text) { text_ = text; }
    void setToolTip(const QString& toolTip) { toolTip_ = toolTip; }
    void setGeometry(const QRect& geometry) { geometry_ = geometry; }
    void setColour(const QColor& colour) { colour_ = colour; }
    void setVisible(bool visible) { visible_ = visible; }
    // Everything a paint shows of it at once, and shown.
    void show(const QString& text, const QString& toolTip, const QRect& geometry, const QColor& colour);
    void hide() { visible_ = false; }

private:
    QString text_;
    QString toolTip_;
    QRect geometry_;
    QColor colour_;
    bool visible_ = false;
};

}  // namespace cubwave
