#pragma once

#include "chart/TChartSeries.h"

#include <QPen>

// A series drawn as one polyline through its points in the order of their x
// values, in the colour of LinePen. Setting SeriesColor also sets the colour of
// LinePen. Drawing starts at the first point whose x is at or beyond the left
// end of the bottom axis (with the segment leading into it) and stops after the
// first point at or beyond the right end; a point on the same pixel as the
// previously drawn one is skipped, and a NaN or infinite coordinate breaks the
// line (such a point is not drawn).
class TFastLineSeries : public TChartSeries {
public:
    explicit TFastLineSeries(TChart* chart);

    void SetSeriesColor(const QColor& color) override;
    const QPen& LinePen() const { return linePen_; }
    void SetLinePen(const QPen& pen);

    void DrawAllValues(QPainter& painter) const override;

private:
    QPen linePen_;
};
