#include "ui/export/RateGraphPainter.h"

#include <QLineF>
#include <QPainter>
#include <QPen>
#include <QRectF>

#include <vector>

namespace cubwave {

namespace {

QColor colourOf(quint32 rgb) { return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb)); }

}  // namespace

void RateGraphPainter::paintGuides(QPainter& painter, const RateGeometry& g, quint32 lineColour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen solid(colourOf(lineColour), 0);
    painter.setPen(solid);
    painter.drawLine(QLineF(g.leftX, g.topY, g.rightX, g.topY));              // Line1
    painter.drawLine(QLineF(g.leftX, g.bottomY, g.rightX, g.bottomY));        // Line2
    painter.drawLine(QLineF(g.leftX, g.topY, g.leftX, g.stripBottomY));       // Line4
    painter.drawLine(QLineF(g.rightX, g.topY, g.rightX, g.stripBottomY));     // Line3
    painter.drawLine(QLineF(g.leftX, g.stripTopY, g.rightX, g.stripTopY));    // Line8
    painter.drawLine(QLineF(g.leftX, g.stripBottomY, g.rightX, g.stripBottomY));  // Line9

    QPen dotted(colourOf(lineColour), 0, Qt::DotLine);
    painter.setPen(dotted);
    const double height = g.bottomY - g.topY;
    for (int k = 1; k < RateSeries::kValueLabels - 1; ++k) {
        const double y = g.bottomY - height * k / (RateSeries::kValueLabels - 1);
        painter.drawLine(QLineF(g.leftX, y, g.rightX, y));
    }
    const double width = g.rightX - g.leftX;
    for (int k = 1; k < RateSeries::kTimeLabels - 1; ++k) {
        const double x = g.leftX + width * k / (RateSeries::kTimeLabels - 1);
        painter.drawLine(QLineF(x, g.topY, x, g.bottomY));
    }
    painter.restore();
}

void RateGraphPainter::paintSeries(QPainter& painter, const RateSeries& s, const RateGeometry& g)
{
    if (!s.drawable)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Strip first, so the curve is never hidden where the two meet.
    for (int i = 1; i <= RateSeries::kPositions; ++i) {
        if (!(s.drawnRate[i] > 0.f || s.drawnRate[i - 1] > 0.f))
            continue;
        const double left = g.x(i - 1);
        const double right = g.x(i);
        painter.fillRect(QRectF(QPointF(left, g.stripTopY), QPointF(right, g.stripBottomY)),
                         colourOf(s.stripColour[i]));
    }

    std::vector<QLineF> lines;
    lines.reserve(RateSeries::kPositions);
    for (int i = 1; i <= RateSeries::kPositions; ++i)
        lines.emplace_back(g.x(i), g.y(s.drawnRate[i], s), g.x(i - 1), g.y(s.drawnRate[i - 1], s));
    painter.setPen(QPen(colourOf(kCurveColour), 0));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    painter.restore();
}

}  // namespace cubwave
