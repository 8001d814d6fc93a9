#pragma once

#include <QColor>
#include <QObject>
#include <QRect>
#include <QString>

namespace cubwave {

// A label a map paints rather than a widget of its own: fifty widgets cost far more to move and
// repaint than one painted panel. It keeps what the panel drew for it, under the label's name,
// so tests and the accessibility tree can read the caption, tooltip, place and colour.
class PaintedMapLabel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString text READ text)
    Q_PROPERTY(QString toolTip READ toolTip)
    Q_PROPERTY(QRect geometry READ geometry)
    Q_PROPERTY(QColor colour READ colour)
    Q_PROPERTY(bool visible READ isVisible)

public:
    PaintedMapLabel(const QString& name, QObject* parent);

    const QString& text() const { return text_; }
    const QString& toolTip() const { return toolTip_; }
    // In the painting widget's coordinates.
    const QRect& geometry() const { return geometry_; }
    const QColor& colour() const { return colour_; }
    bool isVisible() const { return visible_; }

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
