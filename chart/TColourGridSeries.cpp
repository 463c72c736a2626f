#include "chart/TColourGridSeries.h"

#include "chart/TChart.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>

namespace {

// The first and last cell that reach a pixel; First > Last when none does.
struct TCellSpan {
    int First = INT_MAX;
    int Last = -1;
};

// The pixel of value on map, as ValueToPixel places it, but held to
// [lowest - 1, highest + 1] instead of falling back to the centre when the
// value lies very far outside: a zoomed-in cell still covers the whole extent.
int ClampedPixel(const TAxisMap& map, double value, int lowest, int highest)
{
    const double offset = map.Offset(value);
    if (std::isnan(offset)) {
        return map.Centre();
    }
    const double pixel = map.Ascending() ? map.Start + offset : map.End - offset;
    return static_cast<int>(RoundHalfEven(std::clamp(pixel, lowest - 1.0, highest + 1.0)));
}

// For each pixel lowest..highest of an axis, the cells of [lo, hi] cut into
// `cells` equal parts that reach it (both edge pixels of a cell included).
std::vector<TCellSpan> PixelCells(const TAxisMap& map, double lo, double hi, int cells, int lowest, int highest)
{
    std::vector<TCellSpan> spans(static_cast<std::size_t>(highest - lowest + 1));
    for (int c = 0; c < cells; ++c) {
        int a = ClampedPixel(map, lo + (hi - lo) * c / cells, lowest, highest);
        int b = ClampedPixel(map, lo + (hi - lo) * (c + 1) / cells, lowest, highest);
        if (a > b) {
            std::swap(a, b);
        }
        for (int p = std::max(a, lowest); p <= std::min(b, highest); ++p) {
            TCellSpan& span = spans[static_cast<std::size_t>(p - lowest)];
            span.First = std::min(span.First, c);
            span.Last = std::max(span.Last, c);
        }
    }
    return spans;
}

} // namespace

TColourGridSeries::TColourGridSeries(TChart* chart) : TChartSeries(chart) { SetArea(0, 1, 0, 1); }

void TColourGridSeries::SetGrid(int columns, int rows, std::vector<double> values)
{
    if (columns < 1 || rows < 1 ||
        values.size() != static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows)) {
        throw std::invalid_argument("a colour grid needs columns x rows values");
    }
    columns_ = columns;
    rows_ = rows;
    values_ = std::move(values);
    MarkChartForRedraw();
}

double TColourGridSeries::Value(int column, int row) const
{
    return values_.at(static_cast<std::size_t>(column) * static_cast<std::size_t>(rows_) +
                      static_cast<std::size_t>(row));
}

void TColourGridSeries::SetArea(double xMin, double xMax, double yMin, double yMax)
{
    if (!(xMin < xMax) || !(yMin < yMax)) {
        throw std::invalid_argument("a colour grid's area needs xMin < xMax and yMin < yMax");
    }
    xMin_ = xMin;
    xMax_ = xMax;
    yMin_ = yMin;
    yMax_ = yMax;
    Clear();
    AddPoint(xMin, yMin);
    AddPoint(xMax, yMax);
}

void TColourGridSeries::SetColour(TValueColour colour)
{
    colour_ = std::move(colour);
    MarkChartForRedraw();
}

std::optional<TGridCell> TColourGridSeries::CellAt(double x, double y) const
{
    if (columns_ == 0 || !(x >= xMin_ && x <= xMax_ && y >= yMin_ && y <= yMax_)) {
        return std::nullopt;
    }
    const auto index = [](double v, double lo, double hi, int cells) {
        return std::min(cells - 1, static_cast<int>(std::floor((v - lo) / (hi - lo) * cells)));
    };
    return TGridCell{index(x, xMin_, xMax_, columns_), index(y, yMin_, yMax_, rows_)};
}

void TColourGridSeries::DrawAllValues(QPainter& painter) const
{
    if (columns_ == 0 || HorizAxis() == nullptr) {
        return;
    }
    const TAxisMap hmap = HorizAxis()->Map();
    const TAxisMap vmap = VertAxis()->Map();
    const int left = std::min(hmap.Start, hmap.End);
    const int right = std::max(hmap.Start, hmap.End);
    const int top = std::min(vmap.Start, vmap.End);
    const int bottom = std::max(vmap.Start, vmap.End);
    const std::vector<TCellSpan> columnsAt = PixelCells(hmap, xMin_, xMax_, columns_, left, right);
    const std::vector<TCellSpan> rowsAt = PixelCells(vmap, yMin_, yMax_, rows_, top, bottom);

    std::vector<QRgb> colours(values_.size());
    const QRgb plain = SeriesColor().rgb();
    for (std::size_t k = 0; k < values_.size(); ++k) {
        colours[k] = colour_ ? colour_(values_[k]) | 0xff000000u : plain;
    }

    QImage image(right - left + 1, bottom - top + 1, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    // Per pixel row, each column's cell of the largest value among the rows there (-1: none).
    std::vector<std::ptrdiff_t> columnBest(static_cast<std::size_t>(columns_));
    for (int y = 0; y < image.height(); ++y) {
        const TCellSpan rows = rowsAt[static_cast<std::size_t>(y)];
        if (rows.First > rows.Last) {
            continue;
        }
        for (int c = 0; c < columns_; ++c) {
            std::ptrdiff_t best = -1;
            for (int r = rows.First; r <= rows.Last; ++r) {
                const auto k = static_cast<std::ptrdiff_t>(c) * rows_ + r;
                if (!std::isnan(values_[static_cast<std::size_t>(k)]) &&
                    (best < 0 || values_[static_cast<std::size_t>(k)] > values_[static_cast<std::size_t>(best)])) {
                    best = k;
                }
            }
            columnBest[static_cast<std::size_t>(c)] = best;
        }
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const TCellSpan columns = columnsAt[static_cast<std::size_t>(x)];
            std::ptrdiff_t best = -1;
            for (int c = columns.First; c <= columns.Last; ++c) {
                const std::ptrdiff_t k = columnBest[static_cast<std::size_t>(c)];
                if (k >= 0 &&
                    (best < 0 || values_[static_cast<std::size_t>(k)] > values_[static_cast<std::size_t>(best)])) {
                    best = k;
                }
            }
            if (best >= 0) {
                line[x] = colours[static_cast<std::size_t>(best)];
            }
        }
    }
    painter.drawImage(left, top, image);
}
