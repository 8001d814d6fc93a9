#pragma once

#include "spots/SpotMapLayout.h"
#include "spots/SpotStore.h"
#include "ui/common/PaintedItemAccessibility.h"

#include <QFont>
#include <QHash>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

namespace cubwave {

class PaintedItem;

// The main window's band map: a navy panel with a white frequency line, five scale labels under
// it and a caption for each recent spot above it, coloured by age, the newest on top. It is one
// painted widget; each caption, scale label and the line are PaintedItem children named
// lblDXSpot_N, lblFreqSpot_N and LineDX. However many spots ask for a repaint between two
// paints, the layout is made once, at the paint.
class BandMapView : public QWidget, public PaintsItems {
    Q_OBJECT

public:
    // Makes the layout for the line's extent: which slots show, where, with what caption.
    using LayoutSource = std::function<SpotMapLayout(ScaleLine line)>;

    static const QColor kPanel;
    static const QColor kFresh;
    static const QColor kRecent;
    static const QColor kOld;

    explicit BandMapView(QWidget* parent = nullptr);

    void setLayoutSource(LayoutSource source);
    // The layout is made again before the next paint, mouse event or read of the labels.
    void requestDisplay();
    // Makes the layout now if one is due.
    void layOutIfDue();

    const SpotMapLayout& layout();
    const PaintedItem& spotLabel(int slot) const { return *spotLabels_[size_t(slot)]; }
    const PaintedItem& scaleLabel(int index) const { return *scaleLabels_[size_t(index)]; }
    const PaintedItem& line() const { return *line_; }
    // How often the layout was made and the panel painted, for the coalescing checks.
    int layouts() const { return layouts_; }
    int paints() const { return paints_; }

    static QColor colourFor(SpotAge age);

    // The shown spots, newest (topmost) first, then the scale labels: what a reader walks through.
    std::vector<PaintedItem*> shownItems() const override;

signals:
    // A mouse button went down on a spot's caption (never for the second press of a double click).
    void spotPressed(int slot, Qt::MouseButton button);
    // The mouse moved onto a spot's caption: its tooltip text.
    void spotHovered(const QString& toolTip);
    // A click or double click on the panel outside every spot.
    void panelClicked();
    void panelDoubleClicked();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The fonts' sizes, measured again after a font change.
    void measureFonts();
    // A text's width in a font, remembered: captions repeat (K1, JA1, ...), and measuring a text
    // costs more than the rest of a label's layout.
    static int textWidth(QHash<QString, int>& widths, const QFont& font, const QString& text);
    ScaleLine lineSpan() const;
    int lineY() const;
    int windowHeight() const;
    // The shown spot on top at a point.
    std::optional<int> spotAt(QPoint pos);

    LayoutSource source_;
    SpotMapLayout layout_;
    std::array<PaintedItem*, SpotStore::kSlots> spotLabels_{};
    std::array<PaintedItem*, 5> scaleLabels_{};
    PaintedItem* line_ = nullptr;
    bool due_ = true;
    bool fontsDue_ = true;
    QFont spotFont_;
    // The spot labels' width for a short prefix: the line starts and ends half of it inside
    // the panel, so a spot at either end still shows whole.
    int spotLabelWidth_ = 0;
    int spotHeight_ = 0;
    int scaleHeight_ = 0;
    QHash<QString, int> captionWidths_;
    QHash<QString, int> scaleWidths_;
    bool pressedOnPanel_ = false;
    bool lastPressOnSpot_ = false;
    std::optional<int> hovered_;
    int layouts_ = 0;
    int paints_ = 0;
};

}  // namespace cubwave
