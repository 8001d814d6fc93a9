#pragma once

#include "spots/SpotMapLayout.h"
#include "ui/common/PaintedItemAccessibility.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

namespace cubwave {

class PaintedItem;

// The spectrum map's navy panel: eleven rows, each a white line with its band's title and five
// scale labels, and the spot labels placed along them, all painted in one pass with the newest
// spot on top. Each painted label and line is a named child object (lineHF_k, lblFreqSpot_n,
// lblDXSpot_slot) carrying its text, tooltip, geometry and colour.
class SpectrumMapView : public QWidget, public PaintsItems {
    Q_OBJECT

public:
    static constexpr int kRows = 11;
    static constexpr int kScaleLabelsPerRow = 5;
    // Light yellow under ten minutes, white under half an hour, silver under an hour.
    static const QColor kPanelColour;
    static const QColor kFreshColour;
    static const QColor kRecentColour;
    static const QColor kOldColour;
    static const QColor kLineColour;

    using SpotPressed = std::function<void(int slot, Qt::MouseButton button)>;

    explicit SpectrumMapView(QWidget* parent = nullptr);

    // The rows' lines at the current size, for placing the spots.
    std::array<ScaleLine, kRows> lines() const;
    // Shows the scales and spots of a layout made for lines(); one repaint follows.
    void showLayout(const SpotMapLayout& layout);
    const SpotMapLayout& shownLayout() const { return layout_; }

    // The topmost shown spot label at a point, as its store slot.
    std::optional<int> spotAt(QPoint pos) const;
    void onSpotPressed(SpotPressed handler) { spotPressed_ = std::move(handler); }

    PaintedItem* spotLabel(int slot) const { return spotLabels_[size_t(slot)]; }
    PaintedItem* scaleLabel(int index) const { return scaleLabels_[size_t(index)]; }
    PaintedItem* line(int row) const { return lines_[size_t(row)]; }
    // Shown labels and scale labels, topmost spot first: what a screen reader walks through.
    std::vector<PaintedItem*> shownItems() const override;

    static QColor ageColour(SpotAge age);

signals:
    // The rows moved: the spots must be placed again.
    void resized();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct RowGeometry {
        int lineY = 0;
        int x1 = 0;
        int x2 = 0;
        QRect title;
    };
    RowGeometry row(int k) const;
    void placeRows();
    void placeScaleLabels();

    SpotMapLayout layout_;
    std::array<PaintedItem*, SpotStore::kSlots> spotLabels_{};
    std::array<PaintedItem*, kRows * kScaleLabelsPerRow> scaleLabels_{};
    std::array<PaintedItem*, kRows> lines_{};
    SpotPressed spotPressed_;
};

}  // namespace cubwave
