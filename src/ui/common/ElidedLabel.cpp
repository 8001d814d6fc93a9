#include "ui/common/ElidedLabel.h"

#include "ui/common/PlainToolTip.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace cubwave {

namespace {

// The rectangle a label draws its text in: inside the frame and margin, after the indent a
// framed label takes when none is set.
QRect textRect(const QLabel* label)
{
    QRect r = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0)
        indent = label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    if (indent > 0) {
        const Qt::Alignment a = QStyle::visualAlignment(label->layoutDirection(), label->alignment());
        if (a & Qt::AlignLeft)
            r.setLeft(r.left() + indent);
        if (a & Qt::AlignRight)
            r.setRight(r.right() - indent);
    }
    return r;
}

class ElidingPainter final : public QObject {
public:
    explicit ElidingPainter(QLabel* label) : QObject(label), label_(label) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != label_)
            return false;
        if (event->type() == QEvent::ToolTip) {
            // Always the text of the moment, whoever set it and however.
            label_->setToolTip(plainToolTip(label_->text()));
            return false;
        }
        if (event->type() != QEvent::Paint)
            return false;
        // The frame as the label draws it (the background is filled before this), then the
        // text, elided.
        QPainter p(label_);
        QStyleOptionFrame frame;
        frame.initFrom(label_);
        frame.rect = label_->frameRect();
        frame.frameShape = label_->frameShape();
        const bool ownWidths = frame.frameShape == QFrame::Box || frame.frameShape == QFrame::HLine ||
                               frame.frameShape == QFrame::VLine || frame.frameShape == QFrame::StyledPanel ||
                               frame.frameShape == QFrame::NoFrame;
        frame.lineWidth = ownWidths ? label_->lineWidth() : label_->frameWidth();
        frame.midLineWidth = ownWidths ? label_->midLineWidth() : 0;
        frame.state |= label_->frameShadow() == QFrame::Sunken  ? QStyle::State_Sunken
                       : label_->frameShadow() == QFrame::Raised ? QStyle::State_Raised
                                                                 : QStyle::State_None;
        label_->style()->drawControl(QStyle::CE_ShapedFrame, &frame, &p, label_);
        const Qt::Alignment a = QStyle::visualAlignment(label_->layoutDirection(), label_->alignment());
        label_->style()->drawItemText(&p, textRect(label_), int(a), label_->palette(), label_->isEnabled(),
                                      shownText(label_), label_->foregroundRole());
        return true;
    }

private:
    QLabel* label_;
};

}  // namespace

void elideWithWholeTextTip(QLabel* label)
{
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    label->installEventFilter(new ElidingPainter(label));
}

QString shownText(const QLabel* label)
{
    // One line: a line break in a status text would be cut off by the label's height anyway.
    QString text = label->text();
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return label->fontMetrics().elidedText(text, Qt::ElideRight, textRect(label).width());
}

}  // namespace cubwave
