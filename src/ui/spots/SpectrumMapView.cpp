#include "ui/spots/SpectrumMapView.h"

#include "ui/common/PaintedItem.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace cubwave {

namespace {

// Shares of the panel's width: the row titles on the left, and the line kept half a spot label
// in from either end so a spot at a band edge stays on the panel.
constexpr double kTitleShare = 56.0 / 624.0;
constexpr double kInsetShare = 20.0 / 624.0;
// Room around a label's text, in pixels.
constexpr int kTextPadding = 4;

QRect textBox(const QFontMetrics& metrics, const QString& text, double centreX, int top)
{
    const int width = metrics.horizontalAdvance(text) + kTextPadding;
    return {int(std::lround(centreX - width / 2.0)), top, width, metrics.height()};
}

}  // namespace

const QColor SpectrumMapView::kPanelColour(0, 0, 128);
const QColor SpectrumMapView::kFreshColour(255, 255, 128);
const QColor SpectrumMapView::kRecentColour(255, 255, 255);
const QColor SpectrumMapView::kOldColour(192, 192, 192);
const QColor SpectrumMapView::kLineColour(255, 255, 255);

SpectrumMapView::SpectrumMapView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("lblHFSpots"));
    installPaintedItemAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int i = 0; i < SpotStore::kSlots; ++i)
        spotLabels_[size_t(i)] = new PaintedItem(QStringLiteral("lblDXSpot_%1").arg(i), this);
    for (int n = 0; n < kRows * kScaleLabelsPerRow; ++n) {
        PaintedItem* label = new PaintedItem(QStringLiteral("lblFreqSpot_%1").arg(n), this);
        label->setColour(kLineColour);
        label->setVisible(true);
        scaleLabels_[size_t(n)] = label;
    }
    for (int k = 0; k < kRows; ++k) {
        PaintedItem* line = new PaintedItem(QStringLiteral("lineHF_%1").arg(k), this);
        line->setColour(kLineColour);
        line->setVisible(true);
        line->setText(QString::fromLatin1(SpotMapRules::spectrumRows()[size_t(k)].title));
        lines_[size_t(k)] = line;
    }
    placeRows();
}

QColor SpectrumMapView::ageColour(SpotAge age)
{
    switch (age) {
    case SpotAge::Fresh: return kFreshColour;
    case SpotAge::Recent: return kRecentColour;
    case SpotAge::Old: return kOldColour;
    }
    return kRecentColour;
}

SpectrumMapView::RowGeometry SpectrumMapView::row(int k) const
{
    const double rowHeight = height() / double(kRows);
    // Never less than half the widest scale label, so the last one stays on the panel.
    const int widestScale = fontMetrics().horizontalAdvance(QStringLiteral("000.000")) + kTextPadding;
    const int inset = std::max(int(std::lround(width() * kInsetShare)), widestScale / 2 + 1);
    const int titleWidth = int(std::lround(width() * kTitleShare));
    RowGeometry g;
    g.lineY = int(std::lround(rowHeight * (k + 0.5)));
    g.x1 = titleWidth + inset;
    g.x2 = std::max(g.x1 + 1, width() - inset);
    const int textHeight = fontMetrics().height();
    g.title = QRect(inset / 2, g.lineY - textHeight / 2, std::max(1, titleWidth), textHeight);
    return g;
}

std::array<ScaleLine, SpectrumMapView::kRows> SpectrumMapView::lines() const
{
    std::array<ScaleLine, kRows> result;
    for (int k = 0; k < kRows; ++k) {
        const RowGeometry g = row(k);
        result[size_t(k)] = {double(g.x1), double(g.x2)};
    }
    return result;
}

void SpectrumMapView::placeRows()
{
    for (int k = 0; k < kRows; ++k) {
        const RowGeometry g = row(k);
        lines_[size_t(k)]->setGeometry(QRect(g.x1, g.lineY, g.x2 - g.x1 + 1, 1));
    }
    placeScaleLabels();
}

void SpectrumMapView::placeScaleLabels()
{
    const QFontMetrics metrics = fontMetrics();
    for (int k = 0; k < kRows; ++k) {
        const RowGeometry g = row(k);
        for (int j = 0; j < kScaleLabelsPerRow; ++j) {
            PaintedItem* label = scaleLabels_[size_t(k * kScaleLabelsPerRow + j)];
            const double x = g.x1 + j * (g.x2 - g.x1) / double(kScaleLabelsPerRow - 1);
            label->setGeometry(textBox(metrics, label->text(), x, g.lineY + 2));
        }
    }
}

void SpectrumMapView::showLayout(const SpotMapLayout& layout)
{
    layout_ = layout;
    for (size_t k = 0; k < layout_.scales.size() && k < size_t(kRows); ++k) {
        for (size_t j = 0; j < size_t(kScaleLabelsPerRow); ++j)
            scaleLabels_[k * kScaleLabelsPerRow + j]->setText(layout_.scales[k].labels[j]);
    }
    // A hidden widget hears of its new size only once shown; the rows follow the size it has now.
    placeRows();

    for (PaintedItem* label : spotLabels_)
        label->setVisible(false);
    const QFontMetrics metrics = fontMetrics();
    for (const PlacedSpot& spot : layout_.shown) {
        PaintedItem* label = spotLabels_[size_t(spot.slot)];
        label->setText(spot.caption);
        label->setToolTip(spot.tooltip);
        label->setColour(ageColour(spot.age));
        QRect box = textBox(metrics, spot.caption, spot.centreX, 0);
        box.moveTop(row(spot.row).lineY - box.height());
        label->setGeometry(box);
        label->setVisible(true);
    }
    update();
}

std::optional<int> SpectrumMapView::spotAt(QPoint pos) const
{
    // The newest lies on top, and the layout lists the newest first.
    for (const PlacedSpot& spot : layout_.shown) {
        if (spotLabels_[size_t(spot.slot)]->geometry().contains(pos))
            return spot.slot;
    }
    return std::nullopt;
}

std::vector<PaintedItem*> SpectrumMapView::shownItems() const
{
    std::vector<PaintedItem*> items;
    for (const PlacedSpot& spot : layout_.shown)
        items.push_back(spotLabels_[size_t(spot.slot)]);
    items.insert(items.end(), scaleLabels_.begin(), scaleLabels_.end());
    return items;
}

bool SpectrumMapView::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const std::optional<int> slot = spotAt(help->pos());
    if (!slot) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    const PaintedItem* label = spotLabels_[size_t(*slot)];
    // Spot text comes off the network: shown as sent, never as markup, its double blanks kept.
    QToolTip::showText(help->globalPos(),
                       QStringLiteral("<p style='white-space:pre'>%1</p>").arg(label->toolTip().toHtmlEscaped()),
                       this, label->geometry());
    return true;
}

void SpectrumMapView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Labels are as wide as their text in the new font.
    if (event->type() == QEvent::FontChange) {
        placeRows();
        emit resized();
    }
}

void SpectrumMapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kPanelColour);
    painter.setPen(kLineColour);
    const auto& rows = SpotMapRules::spectrumRows();
    for (int k = 0; k < kRows; ++k) {
        const RowGeometry g = row(k);
        painter.drawText(g.title, Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(rows[size_t(k)].title));
        painter.drawLine(g.x1, g.lineY, g.x2, g.lineY);
    }
    for (const PaintedItem* label : scaleLabels_)
        painter.drawText(label->geometry(), Qt::AlignCenter, label->text());

    // Oldest first, so the newest is drawn last and lies on top; each label is opaque, as a
    // label control is, so an overlapped caption never shows through.
    for (auto it = layout_.shown.rbegin(); it != layout_.shown.rend(); ++it) {
        const PaintedItem* label = spotLabels_[size_t(it->slot)];
        painter.fillRect(label->geometry(), kPanelColour);
        painter.setPen(label->colour());
        painter.drawText(label->geometry(), Qt::AlignCenter, label->text());
    }
}

void SpectrumMapView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeRows();
    emit resized();
}

void SpectrumMapView::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const std::optional<int> slot = spotAt(pos);
    if (!slot) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    if (spotPressed_)
        spotPressed_(*slot, event->button());
}

// Qt gives a widget the second press of a double click as this event alone: it is no new press
// on a spot (no second tune, no second spot taken off).
void SpectrumMapView::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

}  // namespace cubwave
