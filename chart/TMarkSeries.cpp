#include "chart/TMarkSeries.h"

#include "chart/TChart.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Held offsets of points far off the plot area (TAxisMap::ClampedPixel).
constexpr double FarOffset = 1e7;
} // namespace

TMarkSeries::TMarkSeries(TChart* chart) : TChartSeries(chart) {}

int TMarkSeries::AddMark(double x, double y, double base)
{
    const int index = XValues().InsertPosition(x);
    baseValues_.Insert(index, base);
    XValues().Insert(index, x);
    YValues().Insert(index, y);
    MarkChartForRedraw();
    return index;
}

int TMarkSeries::AddPoint(double x, double y) { return AddMark(x, y, std::numeric_limits<double>::quiet_NaN()); }

void TMarkSeries::Clear()
{
    baseValues_.Clear();
    TChartSeries::Clear();
}

void TMarkSeries::DrawAllValues(QPainter& painter) const
{
    if (Count() == 0 || HorizAxis() == nullptr) {
        return;
    }
    const TAxisMap hmap = HorizAxis()->Map();
    const TAxisMap vmap = VertAxis()->Map();
    const QRect plot = ParentChart()->PlotRect();
    QPen pen(SeriesColor(), 0);
    pen.setCosmetic(true);
    for (int i = 0; i < Count(); ++i) {
        const double x = XValues().ValueAt(i);
        const double y = YValues().ValueAt(i);
        if (!std::isfinite(x) || !std::isfinite(y)) {
            continue;
        }
        // A mark off the plot area (zoomed or panned away) is not drawn.
        const double fx = hmap.ClampedPixel(x, FarOffset);
        const double fy = vmap.ClampedPixel(y, FarOffset);
        if (fx < plot.left() - MarkRadius || fx > plot.right() + MarkRadius || fy < plot.top() - MarkRadius ||
            fy > plot.bottom() + MarkRadius) {
            continue;
        }
        const int px = static_cast<int>(fx);
        const int py = static_cast<int>(fy);
        const double base = baseValues_.ValueAt(i);
        painter.setPen(pen);
        if (std::isfinite(base)) {
            // A base off the plot area ends the stem at its edge.
            const double by = std::clamp(vmap.ClampedPixel(base, FarOffset), plot.top() - 1.0, plot.bottom() + 1.0);
            painter.drawLine(px, static_cast<int>(by), px, py);
        }
        painter.setBrush(SeriesColor());
        painter.drawEllipse(QPoint(px, py), MarkRadius, MarkRadius);
    }
    painter.setBrush(Qt::NoBrush);
}
