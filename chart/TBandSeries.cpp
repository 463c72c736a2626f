#include "chart/TBandSeries.h"

#include "chart/TChart.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
// Pixels off the axis's start beyond which a point is drawn at this distance instead: far
// enough that a clipped line or fill keeps its slope across the plot area at any real zoom,
// near enough for the painter's fixed-point coordinates.
constexpr double FarOffset = 1e7;

} // namespace

TBandSeries::TBandSeries(TChart* chart) : TChartSeries(chart), linePen_(SeriesColor(), 0)
{
    linePen_.setCosmetic(true);
    SetBackdrop(true);
}

int TBandSeries::AddBand(double x, double lower, double upper)
{
    const int index = XValues().InsertPosition(x);
    lowerValues_.Insert(index, lower);
    XValues().Insert(index, x);
    YValues().Insert(index, upper);
    MarkChartForRedraw();
    return index;
}

int TBandSeries::AddPoint(double x, double y) { return AddBand(x, NaN, y); }

void TBandSeries::Clear()
{
    lowerValues_.Clear();
    TChartSeries::Clear();
}

void TBandSeries::SetFillColour(const QColor& colour)
{
    fillColour_ = colour;
    MarkChartForRedraw();
}

void TBandSeries::SetLinePen(const QPen& pen)
{
    linePen_ = pen;
    MarkChartForRedraw();
}

void TBandSeries::SetSeriesColor(const QColor& color)
{
    linePen_.setColor(color);
    TChartSeries::SetSeriesColor(color);
}

void TBandSeries::DrawAllValues(QPainter& painter) const
{
    const int count = Count();
    if (count == 0 || HorizAxis() == nullptr) {
        return;
    }
    const TAxisMap hmap = HorizAxis()->Map();
    const TAxisMap vmap = VertAxis()->Map();
    std::vector<QPointF> lower(static_cast<std::size_t>(count));
    std::vector<QPointF> upper(static_cast<std::size_t>(count));
    std::vector<bool> hasLower(static_cast<std::size_t>(count));
    std::vector<bool> hasUpper(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const double x = XValues().ValueAt(i);
        const double lo = lowerValues_.ValueAt(i);
        const double hi = YValues().ValueAt(i);
        const double px = hmap.ClampedPixel(x, FarOffset);
        hasLower[k] = std::isfinite(x) && std::isfinite(lo);
        hasUpper[k] = std::isfinite(x) && std::isfinite(hi);
        lower[k] = QPointF(px, hasLower[k] ? vmap.ClampedPixel(lo, FarOffset) : 0.0);
        upper[k] = QPointF(px, hasUpper[k] ? vmap.ClampedPixel(hi, FarOffset) : 0.0);
    }

    // The fill: one polygon per run of points that have both curves, along the upper curve and
    // back along the lower one.
    painter.setPen(Qt::NoPen);
    painter.setBrush(fillColour_);
    for (int first = 0; first < count;) {
        const auto both = [&](int i) {
            return hasLower[static_cast<std::size_t>(i)] && hasUpper[static_cast<std::size_t>(i)];
        };
        if (!both(first)) {
            ++first;
            continue;
        }
        int last = first;
        while (last + 1 < count && both(last + 1)) {
            ++last;
        }
        if (last > first) {
            QPolygonF polygon;
            for (int i = first; i <= last; ++i) {
                polygon << upper[static_cast<std::size_t>(i)];
            }
            for (int i = last; i >= first; --i) {
                polygon << lower[static_cast<std::size_t>(i)];
            }
            painter.drawPolygon(polygon);
        }
        first = last + 1;
    }

    // The curves, each broken where it has no value.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(linePen_);
    for (const auto* curve : {&lower, &upper}) {
        const std::vector<bool>& has = curve == &lower ? hasLower : hasUpper;
        QPolygonF run;
        const auto flush = [&] {
            if (run.size() > 1) {
                painter.drawPolyline(run);
            } else if (run.size() == 1) {
                painter.drawPoint(run.front());
            }
            run.clear();
        };
        for (int i = 0; i < count; ++i) {
            if (has[static_cast<std::size_t>(i)]) {
                run << (*curve)[static_cast<std::size_t>(i)];
            } else {
                flush();
            }
        }
        flush();
    }
}
