#pragma once

#include "chart/TChartSeries.h"

// Points marked one by one (the lines of a curve that lie outside their limits): each point a
// filled dot MarkRadius pixels round in SeriesColor and, where its base value is finite, a
// stem of the same colour from (x, base) to (x, y): how far the point lies from where it
// should be. Drawn in the order the series was made, over the series made before it; the points
// count for the automatic ranges as any series' do, the bases do not.
class TMarkSeries : public TChartSeries {
public:
    // The dot's radius in pixels: it stands out of a one-pixel curve drawn through the point.
    static constexpr int MarkRadius = 3;

    explicit TMarkSeries(TChart* chart);

    // Inserts the mark (x, y) with its stem's base, in x order as AddPoint does; returns its
    // index. Marks the chart for redrawing.
    int AddMark(double x, double y, double base);
    // A mark without a stem: AddMark(x, y, NaN).
    int AddPoint(double x, double y) override;
    void Clear() override;

    const TChartValueList& BaseValues() const { return baseValues_; }

    void DrawAllValues(QPainter& painter) const override;

private:
    TChartValueList baseValues_{QStringLiteral("Base"), loNone};
};
