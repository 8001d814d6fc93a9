#pragma once

#include "bandplan/BandPlanRecord.h"

#include <QRectF>
#include <QString>

#include <span>
#include <vector>

namespace cubwave {

// One label of the privileges drawing, as plain values the window applies.
struct PrivilegeLabel {
    enum class Font { Window, Tag, Segment };

    QString name;     // "blbl1", "bnlb1", "priv1", …
    QString caption;
    QString narrowCaption;  // a segment's edges one above the other, for a box too narrow for the caption
    QString toolTip;
    QRectF rect;      // in the window's pixels
    qint32 backColour = 0;  // red + 256 * green + 65536 * blue
    qint32 textColour = 0;
    Font font = Font::Window;
    double pointSize = 0;   // for Tag and Segment
};

// Where each band of one licence class is drawn: a black bar across the band's full range, a
// yellow name tag to its left and a box for each segment of the class, blue for CW and green
// for phone, placed along the bar in proportion to frequency.
struct PrivilegesDrawing {
    std::vector<PrivilegeLabel> bars;
    std::vector<PrivilegeLabel> tags;
    std::vector<PrivilegeLabel> segments;
    // False when the drawing stopped early: a band whose edges are equal (its segments cannot be
    // placed) or more bands than fit. What was placed before stays; nothing is reported.
    bool complete = true;
};

class PrivilegesLayout {
public:
    static constexpr int kMaxBands = 20;
    static constexpr qint32 kBlack = 0x000000;
    static constexpr qint32 kWhite = 0xFFFFFF;
    static constexpr qint32 kYellow = 0x00FFFF;  // red 255, green 255
    static constexpr qint32 kBlue = 0xFF0000;    // blue 255
    static constexpr qint32 kGreen = 0x00FF00;   // green 255
    static constexpr double kTagPointSize = 8;
    static constexpr double kSegmentPointSize = 7;
    static constexpr const char16_t* kEdgeFormat = u"#,###.##0";

    struct Frame {
        double width = 0;   // the window's
        double height = 0;
        double lineY = 0;   // the guide line below which the bars are laid out
        double fontScale = 1;
    };

    // The font scale: the screen's width against the 640-pixel design screen, at most 1.5.
    static double fontScale(int screenWidthPx);

    static PrivilegesDrawing draw(std::span<const BandPlanRecord> records, QStringView licenceClass, const Frame& frame);
};

}  // namespace cubwave
