#pragma once

#include "chart/axis/TAxisMap.h"
#include "core/analysis/SpmFile.h"
#include "plot/THeatmapScale.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

// Where the parts of a heatmap picture lie, in pixels.
struct THeatmapLayout {
    QRect Cells;        // the spectra's rows, band line 0 at the left edge, 360 at the right
    QRect ColourBar;    // the colours from the largest value (top) to the smallest
    QRect Names;        // the names column; empty when the rows are lower than a line of text
    TAxisMap Frequency; // Hz across Cells (1000 at Cells.left(), 10000 at Cells.right())
    TAxisMap Value;     // the value up ColourBar, as Scale() maps it to colours
};

// Many spectra in one picture: one row per spectrum from top to bottom, the
// band from 1000 to 10000 Hz across, each value a colour of the viridis map
// on one scale for all rows (THeatmapScale), a colour bar with its labels at
// the right, frequency labels and "Гц" below as the charts place and format
// them, and the names at the left when the rows are at least a line of text
// high.
//
// The rows share the height of Cells: row k covers the pixel rows from
// floor(k H / n) up to the next row's first. With more rows than pixels, or
// more lines than pixel columns, a pixel shows the largest value it covers,
// so a peak never falls between pixels. A pixel column covers the lines whose
// frequencies lie within half a pixel of it, or else the nearest line.
// Drawing needs a QGuiApplication (for the font).
class TSpectrumHeatmap {
public:
    // names[k] labels bands[k]; both the same length.
    TSpectrumHeatmap(std::vector<QString> names, std::vector<TBandValues> bands, bool logarithmic);

    // The size drawn unless another is asked for: 630 pixels wide, with
    // cells 16 pixels a row but from 240 to 480 pixels high, or 1 pixel a row
    // for more than 480 rows; never higher than maxHeight.
    static QSize DefaultSize(int rows, int maxHeight);

    THeatmapLayout Layout(QSize size) const;

    // The picture, size pixels (each side at least 1), on white.
    QImage Draw(QSize size) const;

    // The same picture painted onto painter from its origin (a PDF, say): the cells and the
    // colour bar as one image of size pixels, the axes, labels and names as lines and text.
    void Paint(QPainter& painter, QSize size) const;

    const THeatmapScale& Scale() const { return scale_; }

private:
    // A white image of size with the cells and the colour bar in it.
    QImage CellsImage(QSize size, const THeatmapLayout& layout) const;
    void DrawAxesAndNames(QPainter& painter, const THeatmapLayout& layout, QSize size) const;
    void DrawCells(QImage& image, const THeatmapLayout& layout) const;
    void DrawColourBar(QImage& image, const THeatmapLayout& layout) const;
    // The colour bar's frame, ticks and labels in a picture width pixels wide.
    void DrawValueAxis(QPainter& painter, const THeatmapLayout& layout, int width) const;
    void DrawFrequencyAxis(QPainter& painter, const THeatmapLayout& layout) const;
    void DrawNames(QPainter& painter, const THeatmapLayout& layout) const;
    // The colour bar's label values (from the top down) and their texts.
    std::vector<std::pair<double, QString>> ValueLabels(const TAxisMap& valueAxis) const;

    std::vector<QString> names_;
    std::vector<TBandValues> bands_;
    THeatmapScale scale_;
    QFont font_;
};
