#include "ui/spots/BandMapView.h"

#include "ui/common/PaintedItem.h"
#include "ui/common/PlainToolTip.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace cubwave {

const QColor BandMapView::kPanel{0, 0, 128};
const QColor BandMapView::kFresh{255, 255, 128};
const QColor BandMapView::kRecent{255, 255, 255};
const QColor BandMapView::kOld{192, 192, 192};

namespace {

// Room around a caption inside its label, in pixels.
constexpr int kCaptionPadding = 4;

}  // namespace

BandMapView::BandMapView(QWidget* parent) : QWidget(parent)
{
    installPaintedItemAccessibility();
    setObjectName(QStringLiteral("lblDX"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    line_ = new PaintedItem(QStringLiteral("LineDX"), this);
    for (size_t i = 0; i < scaleLabels_.size(); ++i)
        scaleLabels_[i] = new PaintedItem(QStringLiteral("lblFreqSpot_%1").arg(i), this);
    for (size_t i = 0; i < spotLabels_.size(); ++i)
        spotLabels_[i] = new PaintedItem(QStringLiteral("lblDXSpot_%1").arg(i), this);
}

QColor BandMapView::colourFor(SpotAge age)
{
    switch (age) {
    case SpotAge::Fresh: return kFresh;
    case SpotAge::Recent: return kRecent;
    case SpotAge::Old: return kOld;
    }
    return kRecent;
}

void BandMapView::setLayoutSource(LayoutSource source)
{
    source_ = std::move(source);
    requestDisplay();
}

void BandMapView::requestDisplay()
{
    due_ = true;
    update();
}

const SpotMapLayout& BandMapView::layout()
{
    layOutIfDue();
    return layout_;
}

void BandMapView::measureFonts()
{
    if (!fontsDue_)
        return;
    fontsDue_ = false;
    spotFont_ = font();
    spotFont_.setBold(true);
    captionWidths_.clear();
    scaleWidths_.clear();
    // Wide enough for a four-character prefix and for a scale label at either end of the line.
    const int caption = QFontMetrics(spotFont_).horizontalAdvance(QStringLiteral("3DA0"));
    const int scale = QFontMetrics(font()).horizontalAdvance(QStringLiteral("144.000"));
    spotLabelWidth_ = std::max(caption, scale) + kCaptionPadding;
    spotHeight_ = QFontMetrics(spotFont_).height();
    scaleHeight_ = QFontMetrics(font()).height();
}

int BandMapView::textWidth(QHash<QString, int>& widths, const QFont& font, const QString& text)
{
    // Calls from the network are many; the remembered ones stay few.
    constexpr qsizetype kMaxRemembered = 1024;
    if (const auto it = widths.constFind(text); it != widths.cend())
        return *it;
    if (widths.size() >= kMaxRemembered)
        widths.clear();
    const int w = QFontMetrics(font).horizontalAdvance(text);
    widths.insert(text, w);
    return w;
}

ScaleLine BandMapView::lineSpan() const
{
    const double half = spotLabelWidth_ / 2.0;
    return {half, std::max(half, width() - half)};
}

int BandMapView::lineY() const { return height() / 2; }

int BandMapView::windowHeight() const { return window()->height(); }

std::vector<PaintedItem*> BandMapView::shownItems() const
{
    // A reader may ask between a spot and the paint that would lay it out.
    const_cast<BandMapView*>(this)->layOutIfDue();
    std::vector<PaintedItem*> items;
    for (int slot = SpotStore::kSlots - 1; slot >= 0; --slot) {
        if (spotLabels_[size_t(slot)]->isVisible())
            items.push_back(spotLabels_[size_t(slot)]);
    }
    for (PaintedItem* label : scaleLabels_) {
        if (label->isVisible())
            items.push_back(label);
    }
    return items;
}

void BandMapView::layOutIfDue()
{
    if (!due_)
        return;
    due_ = false;
    ++layouts_;
    hovered_.reset();
    measureFonts();

    const ScaleLine span = lineSpan();
    const int y = lineY();
    line_->show(QString(), QString(), QRect(QPoint(qRound(span.x1), y), QPoint(qRound(span.x2), y)), Qt::white);
    layout_ = source_ ? source_(span) : SpotMapLayout{};

    const int gap = qRound(0.004 * windowHeight());
    for (size_t k = 0; k < scaleLabels_.size(); ++k) {
        if (layout_.scales.empty()) {
            scaleLabels_[k]->hide();
            continue;
        }
        const QString& text = layout_.scales.front().labels[k];
        const int w = textWidth(scaleWidths_, font(), text) + 2;
        const double centre = span.x1 + double(k) * (span.x2 - span.x1) / 4.0;
        scaleLabels_[k]->show(text, QString(), QRect(qRound(centre - w / 2.0), y + gap, w, scaleHeight_),
                              Qt::white);
    }

    for (PaintedItem* label : spotLabels_)
        label->hide();
    const int h = spotHeight_;
    for (const PlacedSpot& spot : layout_.shown) {
        const int w = std::max(spotLabelWidth_, textWidth(captionWidths_, spotFont_, spot.caption) + kCaptionPadding);
        spotLabels_[size_t(spot.slot)]->show(spot.caption, spot.tooltip,
                                             QRect(qRound(spot.centreX - w / 2.0), y - h - gap, w, h),
                                             colourFor(spot.age));
    }
}

void BandMapView::paintEvent(QPaintEvent*)
{
    layOutIfDue();
    ++paints_;
    QPainter p(this);
    p.fillRect(rect(), kPanel);
    p.setPen(Qt::white);
    p.drawLine(line_->geometry().topLeft(), line_->geometry().topRight());
    p.setFont(font());
    for (const PaintedItem* label : scaleLabels_) {
        if (label->isVisible())
            p.drawText(label->geometry(), Qt::AlignCenter, label->text());
    }
    // Oldest first, so the newest lies on top where captions overlap. Text is drawn as text:
    // a call that looks like markup shows as sent.
    p.setFont(spotFont_);
    for (auto it = layout_.shown.rbegin(); it != layout_.shown.rend(); ++it) {
        const PaintedItem& label = *spotLabels_[size_t(it->slot)];
        p.fillRect(label.geometry(), kPanel);
        p.setPen(label.colour());
        p.drawText(label.geometry(), Qt::AlignCenter, label.text());
    }
}

void BandMapView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    requestDisplay();
}

void BandMapView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fontsDue_ = true;
        requestDisplay();
    }
}

void BandMapView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Spots aged while the list showed instead.
    requestDisplay();
}

std::optional<int> BandMapView::spotAt(QPoint pos)
{
    layOutIfDue();
    for (const PlacedSpot& spot : layout_.shown) {  // newest first: the one on top
        if (spotLabels_[size_t(spot.slot)]->geometry().contains(pos))
            return spot.slot;
    }
    return std::nullopt;
}

bool BandMapView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const std::optional<int> slot = spotAt(help->pos())) {
            const PaintedItem& label = *spotLabels_[size_t(*slot)];
            QToolTip::showText(help->globalPos(), plainToolTip(label.toolTip()), this, label.geometry());
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void BandMapView::mousePressEvent(QMouseEvent* event)
{
    const std::optional<int> slot = spotAt(event->position().toPoint());
    pressedOnPanel_ = !slot;
    lastPressOnSpot_ = slot.has_value();
    if (slot)
        emit spotPressed(*slot, event->button());
}

void BandMapView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressedOnPanel_ && rect().contains(event->position().toPoint());
    pressedOnPanel_ = false;
    if (click)
        emit panelClicked();
}

void BandMapView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click: on a spot (or where one was a moment ago, before the
    // first press took it off) it does nothing, so a spot is never tuned or taken twice.
    pressedOnPanel_ = false;
    if (lastPressOnSpot_ || spotAt(event->position().toPoint()))
        return;
    emit panelDoubleClicked();
}

void BandMapView::mouseMoveEvent(QMouseEvent* event)
{
    const std::optional<int> slot = spotAt(event->position().toPoint());
    if (slot == hovered_)
        return;
    hovered_ = slot;
    if (slot)
        emit spotHovered(spotLabels_[size_t(*slot)]->toolTip());
}

}  // namespace cubwave
