#pragma once

#include "chart/TChartSeries.h"

#include <QColor>
#include <QPen>

// A band between a lower and an upper curve over common x values (limits, a tolerance): the
// area between the curves filled with FillColour, then each curve drawn as a line with LinePen
// (SeriesColor sets the pen's colour). It is a backdrop (TChartSeries::Backdrop): drawn behind
// the other series, it never changes the automatic axis ranges.
//
// Point i is (XValues i, LowerValues i, YValues i): YValues holds the upper curve. A value that
// is NaN or infinite is no curve at that point: that curve's line breaks there, and the fill
// covers only the spans between two neighbouring points that both have both curves, so a run of
// points without values (an excluded range) is left blank. Points are mapped through the axes at
// every drawing, so zoom, panning and logarithmic axes are the chart's own; a point too far off
// the plot area for the pixel range is drawn at a far edge of it, which the painter clips.
class TBandSeries : public TChartSeries {
public:
    explicit TBandSeries(TChart* chart);

    // Inserts the point (x, lower, upper) so that XValues keeps its order, as AddPoint does;
    // returns its index. Marks the chart for redrawing.
    int AddBand(double x, double lower, double upper);
    // A point of the upper curve alone: AddBand(x, NaN, y).
    int AddPoint(double x, double y) override;
    void Clear() override;

    const TChartValueList& LowerValues() const { return lowerValues_; }

    QColor FillColour() const { return fillColour_; }
    void SetFillColour(const QColor& colour);
    const QPen& LinePen() const { return linePen_; }
    void SetLinePen(const QPen& pen);
    void SetSeriesColor(const QColor& color) override;

    void DrawAllValues(QPainter& painter) const override;

private:
    TChartValueList lowerValues_{QStringLiteral("Lower"), loNone};
    QColor fillColour_{0, 0, 0, 32};
    QPen linePen_;
};
