#include "chart/TFastLineSeries.h"

#include "chart/TChart.h"

#include <QLine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
struct TClipBox {
    double Left, Top, Right, Bottom;
};

// Liang-Barsky clipping of the segment (x0, y0)-(x1, y1) to the box. Keeps the
// coordinates handed to the painter small, whatever the data.
bool ClipSegment(const TClipBox& box, double& x0, double& y0, double& x1, double& y1)
{
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - box.Left, box.Right - x0, y0 - box.Top, box.Bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const double ax = x0 + t0 * dx;
    const double ay = y0 + t0 * dy;
    x1 = x0 + t1 * dx;
    y1 = y0 + t1 * dy;
    x0 = ax;
    y0 = ay;
    return true;
}

// Index range [first, last] of the points to draw: from the segment leading
// into the first point at or beyond the left end, to the first point at or
// beyond the right end.
void VisibleRange(const TChartValueList& xs, double lo, double hi, int& first, int& last)
{
    const int count = xs.Count();
    first = 0;
    last = count - 1;
    if (xs.Order() != loAscending) {
        return;
    }
    int i = 0;
    while (i < count && !(xs.ValueAt(i) >= lo)) {
        ++i;
    }
    first = std::max(i - 1, 0);
    while (i < count && !(xs.ValueAt(i) >= hi)) {
        ++i;
    }
    last = std::min(i, count - 1);
}
} // namespace

TFastLineSeries::TFastLineSeries(TChart* chart) : TChartSeries(chart), linePen_(SeriesColor(), 0)
{
    linePen_.setCosmetic(true);
}

void TFastLineSeries::SetSeriesColor(const QColor& color)
{
    linePen_.setColor(color);
    TChartSeries::SetSeriesColor(color);
}

void TFastLineSeries::SetLinePen(const QPen& pen)
{
    linePen_ = pen;
    MarkChartForRedraw();
}

void TFastLineSeries::DrawAllValues(QPainter& painter) const
{
    if (Count() == 0 || HorizAxis() == nullptr) {
        return;
    }
    const TAxisMap hmap = HorizAxis()->Map();
    const TAxisMap vmap = VertAxis()->Map();
    const TChartValueList& xs = XValues();
    const TChartValueList& ys = YValues();
    int first = 0;
    int last = 0;
    VisibleRange(xs, std::min(hmap.Lo, hmap.Hi), std::max(hmap.Lo, hmap.Hi), first, last);

    // One pixel of slack around the plot area; the painter clips exactly.
    const TClipBox box{std::min(hmap.Start, hmap.End) - 1.0, std::min(vmap.Start, vmap.End) - 1.0,
                       std::max(hmap.Start, hmap.End) + 1.0, std::max(vmap.Start, vmap.End) + 1.0};
    std::vector<QLine> lines;
    lines.reserve(static_cast<std::size_t>(std::max(last - first, 0)));
    bool havePrevious = false;
    int drawnPoints = 0;
    int px = 0;
    int py = 0;
    for (int i = first; i <= last; ++i) {
        const double x = xs.ValueAt(i);
        const double y = ys.ValueAt(i);
        if (!std::isfinite(x) || !std::isfinite(y)) {
            havePrevious = false;
            continue;
        }
        const int cx = hmap.ValueToPixel(x);
        const int cy = vmap.ValueToPixel(y);
        if (havePrevious) {
            if (cx == px && cy == py) {
                continue;
            }
            double x0 = px;
            double y0 = py;
            double x1 = cx;
            double y1 = cy;
            if (ClipSegment(box, x0, y0, x1, y1)) {
                lines.emplace_back(static_cast<int>(std::lround(x0)), static_cast<int>(std::lround(y0)),
                                   static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)));
            }
        }
        px = cx;
        py = cy;
        havePrevious = true;
        ++drawnPoints;
    }
    painter.setPen(linePen_);
    if (!lines.empty()) {
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    } else if (drawnPoints > 0 && px >= box.Left && px <= box.Right && py >= box.Top && py <= box.Bottom) {
        // A single point (or all points on one pixel) still shows as a dot.
        painter.drawPoint(px, py);
    }
}
