#pragma once

#include <QBrush>

class TChart;

// The wall behind the plot area, filled with Brush (transparent by default).
class TChartWall {
public:
    explicit TChartWall(TChart* chart) : chart_(chart) {}
    const QBrush& Brush() const { return brush_; }
    // Sets the brush; the chart is redrawn later.
    void SetBrush(const QBrush& brush);

private:
    TChart* chart_;
    QBrush brush_{Qt::white, Qt::NoBrush};
};
