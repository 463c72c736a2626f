#pragma once

#include "chart/TChartSeries.h"
#include "chart/TValueColour.h"

#include <optional>
#include <vector>

// A cell of a colour grid: its column and row.
struct TGridCell {
    int Column = 0;
    int Row = 0;
};

// A grid of values drawn as coloured cells over a rectangle on the chart's
// own axes (a spectrogram: time across, frequency up). Column c of n spans x
// from XMin + c (XMax - XMin) / n to the next column's start; row r of m spans
// y from YMin + r (YMax - YMin) / m upwards. Each cell takes the colour of its
// value (SetColour); a NaN cell is not drawn.
//
// The cells are mapped through the axes at every drawing, so zoom, panning,
// logarithmic axes and the read-out (PixelToValues, CellAt) are the chart's
// own. A cell covers the pixels from its lower edge's pixel to its upper
// edge's, both included (ValueToPixel of the edges), and where cells share a
// pixel the largest value shows: a peak narrower than a pixel never falls
// between pixels.
//
// The series' two points are the rectangle's corners (XMin, YMin) and (XMax,
// YMax), set by SetArea, so that automatic axes take the whole grid in; it
// needs no other points.
class TColourGridSeries : public TChartSeries {
public:
    explicit TColourGridSeries(TChart* chart);

    // Sets the grid: columns x rows values (each at least 1), column by
    // column, the value of cell (c, r) at values[c * rows + r]. Raises
    // std::invalid_argument for another count. Marks the chart for redrawing.
    void SetGrid(int columns, int rows, std::vector<double> values);
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    double Value(int column, int row) const;

    // Sets the rectangle the grid covers, in the axes' values (xMin < xMax,
    // yMin < yMax; std::invalid_argument otherwise), and the two points.
    void SetArea(double xMin, double xMax, double yMin, double yMax);
    double XMin() const { return xMin_; }
    double XMax() const { return xMax_; }
    double YMin() const { return yMin_; }
    double YMax() const { return yMax_; }

    // The colour of a value; until set, every cell is drawn in SeriesColor.
    void SetColour(TValueColour colour);

    // The cell that covers (x, y), in the axes' values (a cell's lower edges
    // belong to it, the area's upper edges to the last cells); nothing outside
    // the area or without a grid.
    std::optional<TGridCell> CellAt(double x, double y) const;

    void DrawAllValues(QPainter& painter) const override;

private:
    int columns_ = 0;
    int rows_ = 0;
    std::vector<double> values_;
    double xMin_ = 0, xMax_ = 1, yMin_ = 0, yMax_ = 1;
    TValueColour colour_;
};
