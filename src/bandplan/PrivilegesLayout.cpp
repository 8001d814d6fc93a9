#include "bandplan/PrivilegesLayout.h"

#include "core/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace cubwave {

namespace {

constexpr double kDesignScreenWidthPx = 640;  // 9600 twips
constexpr double kMaxFontScale = 1.5;

QString edgeText(float edge) { return NumberFormat::format(edge, QStringView(PrivilegesLayout::kEdgeFormat)); }

QString rangeText(float low, float high) { return edgeText(low) + QStringLiteral(" - ") + edgeText(high); }

struct Band {
    QString name;
    QString toolTip;
    float lowMHz;
    float highMHz;
};

}  // namespace

double PrivilegesLayout::fontScale(int screenWidthPx)
{
    return std::min(kMaxFontScale, screenWidthPx / kDesignScreenWidthPx);
}

PrivilegesDrawing PrivilegesLayout::draw(std::span<const BandPlanRecord> records, QStringView licenceClass,
                                         const Frame& frame)
{
    PrivilegesDrawing drawing;

    // A band is shown when a record of the class follows its "O" record before another band's.
    std::vector<Band> bands;
    for (size_t i = 0; i < records.size(); ++i) {
        const BandPlanRecord& overall = records[i];
        if (overall.licenceClass != u"O")
            continue;
        bool shown = false;
        for (size_t j = i + 1; j < records.size() && records[j].band == overall.band; ++j)
            shown = shown || records[j].licenceClass == licenceClass;
        if (!shown)
            continue;
        // A band named twice is drawn between the edges of its first "O" record.
        const auto first = std::find_if(records.begin(), records.end(), [&](const BandPlanRecord& r) {
            return r.licenceClass == u"O" && r.band == overall.band;
        });
        bands.push_back({overall.band, overall.band + QStringLiteral("  ") + rangeText(overall.lowMHz, overall.highMHz),
                         first->lowMHz, first->highMHz});
    }
    if (bands.size() > size_t(kMaxBands)) {
        // The bars could not be laid out; none is shown rather than a heap of them at the top.
        drawing.complete = false;
        return drawing;
    }
    if (bands.empty())
        return drawing;

    const double barLeft = frame.width * 0.1;
    const double barWidth = frame.width * 0.85;
    const double barHeight = frame.height * 0.04;
    const double spacing = (frame.height - frame.lineY) / double(bands.size()) * 0.8;
    for (size_t k = 0; k < bands.size(); ++k) {
        const Band& band = bands[k];
        const double top = frame.lineY + double(k + 1) * spacing;
        PrivilegeLabel bar;
        bar.name = QStringLiteral("blbl%1").arg(k + 1);
        bar.caption = band.name;
        bar.toolTip = band.toolTip;
        bar.rect = QRectF(barLeft, top, barWidth, barHeight);
        bar.backColour = kBlack;
        bar.textColour = kBlack;
        drawing.bars.push_back(bar);

        PrivilegeLabel tag;
        tag.name = QStringLiteral("bnlb%1").arg(k + 1);
        tag.caption = band.name;
        tag.toolTip = band.toolTip;
        tag.rect = QRectF(frame.width * 0.04, top, frame.width * 0.05, barHeight);
        tag.backColour = kYellow;
        tag.textColour = kBlack;
        tag.font = PrivilegeLabel::Font::Tag;
        tag.pointSize = kTagPointSize * frame.fontScale;
        drawing.tags.push_back(tag);
    }

    for (const BandPlanRecord& segment : records) {
        if (segment.licenceClass != licenceClass)
            continue;
        for (size_t k = 0; k < bands.size(); ++k) {
            const Band& band = bands[k];
            if (band.name != segment.band)
                continue;
            const double span = double(band.highMHz) - double(band.lowMHz);
            const double left = barLeft + barWidth * (double(segment.lowMHz) - band.lowMHz) / span;
            const double width = barWidth * (double(segment.highMHz) - segment.lowMHz) / span;
            if (span == 0 || !std::isfinite(left) || !std::isfinite(width)) {
                drawing.complete = false;
                return drawing;
            }
            const bool cw = segment.mode == u"CW";
            const QString range = rangeText(segment.lowMHz, segment.highMHz);
            PrivilegeLabel box;
            box.name = QStringLiteral("priv%1").arg(drawing.segments.size() + 1);
            box.caption = range;
            box.narrowCaption = edgeText(segment.lowMHz) + QLatin1Char('\n') + edgeText(segment.highMHz);
            box.toolTip = (cw ? QStringLiteral("CW  ") : QStringLiteral("PH  ")) + range;
            box.rect = QRectF(left, drawing.bars[k].rect.top(), width, barHeight);
            box.backColour = cw ? kBlue : kGreen;
            box.textColour = cw ? kWhite : kBlack;
            box.font = PrivilegeLabel::Font::Segment;
            box.pointSize = kSegmentPointSize * frame.fontScale;
            drawing.segments.push_back(box);
        }
    }
    return drawing;
}

}  // namespace cubwave
