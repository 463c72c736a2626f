#pragma once

#include "chart/TChartValueList.h"

#include <QColor>
#include <QString>

class QPainter;
class TChart;
class TChartAxis;

// A series of (x, y) points that belongs to one chart and is drawn against the
// chart's bottom and left axes. XValues keeps ascending order, YValues follows
// it index by index; the two lists always have the same length.
//
// Ownership: the chart given to the constructor owns the series. Create it with
// new; the chart deletes the series still registered when it is destroyed.
// Deleting a series earlier is allowed and unregisters it from its chart.
class TChartSeries {
public:
    explicit TChartSeries(TChart* chart);
    virtual ~TChartSeries();
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;

    TChart* ParentChart() const { return chart_; }
    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }

    // Inserts the point so that XValues keeps its order (a point whose x equals
    // existing ones goes after them) and marks the chart for redrawing. Returns
    // the index of the new point. Never draws.
    virtual int AddPoint(double x, double y);
    // Removes all points; marks the chart for redrawing when the series is active.
    virtual void Clear();

    int Count() const { return xValues_.Count(); }
    TChartValueList& XValues() { return xValues_; }
    const TChartValueList& XValues() const { return xValues_; }
    TChartValueList& YValues() { return yValues_; }
    const TChartValueList& YValues() const { return yValues_; }

    // Only active series are drawn and count for the automatic axis ranges.
    bool Active() const { return active_; }
    void SetActive(bool active);

    // A backdrop (limits, a band of reference) is drawn before every series that is not one,
    // and takes no part in the automatic axis ranges: what it shows never changes the scale
    // the other series are drawn on. Off by default. Marks the chart for redrawing.
    bool Backdrop() const { return backdrop_; }
    void SetBackdrop(bool backdrop);

    QColor SeriesColor() const { return seriesColor_; }
    virtual void SetSeriesColor(const QColor& color);

    // The axes the series is drawn against: the chart's bottom and left axes.
    TChartAxis* HorizAxis() const;
    TChartAxis* VertAxis() const;

    // The values of the series' axes at the current mouse pointer position,
    // which may lie anywhere, also outside the plot area.
    void CursorToValues(double& x, double& y) const;
    // The same for a point in the chart's client coordinates.
    void PixelToValues(int px, int py, double& x, double& y) const;

    // Draws the series into the chart's plot area; the painter is clipped to it.
    virtual void DrawAllValues(QPainter& painter) const = 0;

protected:
    void MarkChartForRedraw() const;

private:
    TChart* chart_;
    QString name_;
    TChartValueList xValues_{QStringLiteral("X"), loAscending};
    TChartValueList yValues_{QStringLiteral("Y"), loNone};
    bool active_ = true;
    bool backdrop_ = false;
    QColor seriesColor_ = Qt::red;
};
