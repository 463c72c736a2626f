#include "plot/TSpectrumHeatmap.h"

#include "chart/ChartSpacing.h"
#include "chart/TChartAxis.h"
#include "chart/axis/TAxisLabels.h"
#include "plot/Viridis.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The charts' spacing, the colour bar's too; the heatmap's own: the names' gap.
using namespace ChartSpacing;
constexpr int NameGap = 6;

constexpr int DefaultWidth = 630;
constexpr int DefaultRowHeight = 16;
constexpr int MinDefaultCellsHeight = 240;
constexpr int MaxDefaultCellsHeight = 480;

// The label format of the charts' frequency axis (TChartAxis's default).
const QString FrequencyFormat = QStringLiteral("#,##0.###");

// The chart's number format with as many decimals as a label needs: those of
// step (a linear axis) or of value itself (a power of ten).
QString NumberLabel(double value, double step)
{
    // Less a hair, so that a log10 a last bit above an exact power of ten
    // (1e-4 gives 4) adds no decimal.
    const int decimals = step > 0 ? std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9))) : 0;
    QString format = QStringLiteral("#,##0");
    if (decimals > 0) {
        format += QLatin1Char('.') + QString(decimals, QLatin1Char('#'));
    }
    return TChartAxis::FormatLabel(format, value);
}

// The first pixel row of the cells: half a label below the margin, room for
// the colour bar's top label.
int CellsTop(const QFontMetrics& fm) { return Margin + fm.height() / 2; }

// The pixel rows below the cells: the axis line, ticks, labels, the caption
// and the margin.
int SpaceBelowCells(const QFontMetrics& fm)
{
    return 1 + (fm.height() + TickLength + LabelGap) + (fm.height() + LabelGap) + Margin;
}

// The band lines a pixel column shows: those within half a pixel of it, else
// the nearest; columns 0..size along an axis of `size` pixels.
std::pair<int, int> ColumnLines(int column, int size)
{
    constexpr int lastLine = SpectrumLines - 1;
    if (size <= 0) {
        return {0, lastLine};
    }
    const double linesPerPixel = static_cast<double>(lastLine) / size;
    const double centre = column * linesPerPixel;
    int first = static_cast<int>(std::ceil(centre - linesPerPixel / 2));
    int last = static_cast<int>(std::floor(centre + linesPerPixel / 2));
    if (first > last) {
        first = last = static_cast<int>(std::lround(centre));
    }
    return {std::clamp(first, 0, lastLine), std::clamp(last, 0, lastLine)};
}

} // namespace

TSpectrumHeatmap::TSpectrumHeatmap(std::vector<QString> names, std::vector<TBandValues> bands, bool logarithmic)
    : names_(std::move(names)), bands_(std::move(bands)), scale_(THeatmapScale::ForBands(bands_, logarithmic))
{}

QSize TSpectrumHeatmap::DefaultSize(int rows, int maxHeight)
{
    const int cells = rows > MaxDefaultCellsHeight
                          ? rows
                          : std::clamp(rows * DefaultRowHeight, MinDefaultCellsHeight, MaxDefaultCellsHeight);
    const QFontMetrics fm{QFont()};
    return {DefaultWidth, std::min(maxHeight, CellsTop(fm) + cells + SpaceBelowCells(fm))};
}

std::vector<std::pair<double, QString>> TSpectrumHeatmap::ValueLabels(const TAxisMap& valueAxis) const
{
    std::vector<std::pair<double, QString>> labels;
    if (scale_.Logarithmic) {
        double lo = valueAxis.Lo;
        for (const double value : TAxisLabels::LogLabelValues(lo, valueAxis.Hi, 10)) {
            labels.emplace_back(value, NumberLabel(value, value));
        }
        return labels;
    }
    const int count =
        TAxisLabels::MaxLabelCount(valueAxis.Size(), QFontMetrics(font_).height(), LabelsSeparationPercent);
    const double step = TAxisLabels::LinearLabelStep(valueAxis.Range(), count, 0);
    for (const double value : TAxisLabels::LinearLabelValues(valueAxis.Lo, valueAxis.Hi, step, true)) {
        labels.emplace_back(value, NumberLabel(value, step));
    }
    return labels;
}

THeatmapLayout TSpectrumHeatmap::Layout(QSize size) const
{
    const QFontMetrics fm(font_);
    const int lineHeight = fm.height();
    const int w = size.width();
    const int h = size.height();

    const int top = CellsTop(fm);
    const int bottom = std::max(top, h - 1 - SpaceBelowCells(fm));

    THeatmapLayout layout;
    layout.Value = TAxisMap{scale_.Lo, scale_.Hi, top, bottom, false, scale_.Logarithmic, false};
    int labelWidth = 0;
    for (const auto& label : ValueLabels(layout.Value)) {
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(label.second));
    }
    const int barRight = std::max(0, w - 1 - Margin - labelWidth - LabelGap - TickLength);
    layout.ColourBar = QRect(QPoint(std::max(0, barRight - BarWidth + 1), top), QPoint(barRight, bottom));

    const QString lowText = TChartAxis::FormatLabel(FrequencyFormat, BandStartHz);
    const int rows = static_cast<int>(bands_.size());
    const bool namesFit = rows > 0 && (bottom - top + 1) / rows >= lineHeight;
    int left = std::max(Margin, fm.horizontalAdvance(lowText) / 2 + LabelGap);
    if (namesFit) {
        int namesWidth = 0;
        for (const QString& name : names_) {
            namesWidth = std::max(namesWidth, fm.horizontalAdvance(name));
        }
        namesWidth = std::min(namesWidth, w / 4);
        layout.Names = QRect(Margin, top, namesWidth, bottom - top + 1);
        left = std::max(left, Margin + namesWidth + NameGap);
    }
    const int right = std::max(left, layout.ColourBar.left() - BarGap);
    layout.Cells = QRect(QPoint(left, top), QPoint(right, bottom));
    layout.Frequency = TAxisMap{static_cast<double>(BandStartHz),
                                static_cast<double>(BandLineFrequencyHz(SpectrumLines - 1)),
                                left,
                                right,
                                true,
                                false,
                                false};
    return layout;
}

void TSpectrumHeatmap::DrawCells(QImage& image, const THeatmapLayout& layout) const
{
    const int columns = layout.Cells.width();
    const int height = layout.Cells.height();
    const auto rows = static_cast<long long>(bands_.size());
    if (rows == 0) {
        return;
    }
    std::vector<std::pair<int, int>> columnLines(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        columnLines[static_cast<std::size_t>(c)] = ColumnLines(c, layout.Frequency.Size());
    }
    // Colour indices of every pixel of the cells, the largest of the rows that share a pixel row.
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(columns) * static_cast<std::size_t>(height), 0);
    std::array<std::uint8_t, SpectrumLines> lineIndex{};
    std::vector<std::uint8_t> rowIndex(static_cast<std::size_t>(columns));
    for (long long k = 0; k < rows; ++k) {
        const TBandValues& band = bands_[static_cast<std::size_t>(k)];
        for (int i = 0; i < SpectrumLines; ++i) {
            lineIndex[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(scale_.Index(band[i]));
        }
        for (int c = 0; c < columns; ++c) {
            const auto [first, last] = columnLines[static_cast<std::size_t>(c)];
            rowIndex[static_cast<std::size_t>(c)] =
                *std::max_element(lineIndex.begin() + first, lineIndex.begin() + last + 1);
        }
        const auto y0 = static_cast<int>(k * height / rows);
        const int y1 = std::max(y0 + 1, static_cast<int>((k + 1) * height / rows));
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* pixelRow = indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(columns);
            for (int c = 0; c < columns; ++c) {
                pixelRow[c] = std::max(pixelRow[c], rowIndex[static_cast<std::size_t>(c)]);
            }
        }
    }
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(layout.Cells.top() + y)) + layout.Cells.left();
        const std::uint8_t* pixelRow = indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(columns);
        for (int c = 0; c < columns; ++c) {
            line[c] = ViridisColour(pixelRow[c]);
        }
    }
}

void TSpectrumHeatmap::DrawColourBar(QImage& image, const THeatmapLayout& layout) const
{
    const QRect bar = layout.ColourBar;
    for (int y = bar.top(); y <= bar.bottom(); ++y) {
        const QRgb colour = ViridisColour(scale_.Index(layout.Value.PixelToValue(y)));
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line + bar.left(), line + bar.right() + 1, colour);
    }
}

void TSpectrumHeatmap::DrawValueAxis(QPainter& painter, const THeatmapLayout& layout, int width) const
{
    const QRect bar = layout.ColourBar;
    const QFontMetrics fm(font_);
    painter.setPen(Qt::black);
    painter.drawRect(bar.adjusted(-1, -1, 0, 0));
    const int labelLeft = bar.right() + 1 + TickLength + LabelGap;
    for (const auto& [value, text] : ValueLabels(layout.Value)) {
        const int y = layout.Value.ValueToPixel(value);
        if (y < bar.top() || y > bar.bottom()) {
            continue;
        }
        painter.drawLine(bar.right() + 1, y, bar.right() + TickLength, y);
        painter.drawText(QRect(labelLeft, y - fm.height() / 2, width - labelLeft, fm.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

void TSpectrumHeatmap::DrawFrequencyAxis(QPainter& painter, const THeatmapLayout& layout) const
{
    const QRect cells = layout.Cells;
    const TAxisMap& map = layout.Frequency;
    const QFontMetrics fm(font_);
    const int labelSize = std::max(fm.horizontalAdvance(TChartAxis::FormatLabel(FrequencyFormat, map.Lo)),
                                   fm.horizontalAdvance(TChartAxis::FormatLabel(FrequencyFormat, map.Hi)));
    const int count = TAxisLabels::MaxLabelCount(map.Size(), labelSize, LabelsSeparationPercent);
    const double step = TAxisLabels::LinearLabelStep(map.Range(), count, 0);

    const int axisY = cells.bottom() + 1;
    painter.setPen(Qt::black);
    painter.drawLine(cells.left() - 1, axisY, cells.right(), axisY);
    const int labelTop = axisY + TickLength + LabelGap;
    for (const double value : TAxisLabels::LinearLabelValues(map.Lo, map.Hi, step, true)) {
        const int x = map.ValueToPixel(value);
        if (x < cells.left() || x > cells.right()) {
            continue;
        }
        painter.drawLine(x, axisY, x, axisY + TickLength);
        const QString text = TChartAxis::FormatLabel(FrequencyFormat, value);
        const int textWidth = fm.horizontalAdvance(text);
        painter.drawText(QRect(x - textWidth / 2 - 1, labelTop, textWidth + 2, fm.height()), Qt::AlignCenter, text);
    }
    painter.drawText(QRect(cells.left(), labelTop + fm.height() + LabelGap, cells.width(), fm.height()),
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Гц"));
}

void TSpectrumHeatmap::DrawNames(QPainter& painter, const THeatmapLayout& layout) const
{
    if (layout.Names.isEmpty()) {
        return;
    }
    const QFontMetrics fm(font_);
    const auto rows = static_cast<long long>(names_.size());
    const int height = layout.Cells.height();
    painter.setPen(Qt::black);
    for (long long k = 0; k < rows; ++k) {
        const int y0 = layout.Cells.top() + static_cast<int>(k * height / rows);
        const int y1 = layout.Cells.top() + static_cast<int>((k + 1) * height / rows);
        // Elided only when too wide: elidedText may cut a text that just fits.
        const QString& name = names_[static_cast<std::size_t>(k)];
        const QString text = fm.horizontalAdvance(name) <= layout.Names.width()
                                 ? name
                                 : fm.elidedText(name, Qt::ElideLeft, layout.Names.width());
        painter.drawText(QRect(layout.Names.left(), y0, layout.Names.width(), y1 - y0),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }
}

QImage TSpectrumHeatmap::Draw(QSize size) const
{
    const THeatmapLayout layout = Layout(size);
    QImage image = CellsImage(size, layout);
    QPainter painter(&image);
    DrawAxesAndNames(painter, layout, size);
    return image;
}

void TSpectrumHeatmap::Paint(QPainter& painter, QSize size) const
{
    const THeatmapLayout layout = Layout(size);
    painter.drawImage(QPoint(0, 0), CellsImage(size, layout));
    DrawAxesAndNames(painter, layout, size);
}

QImage TSpectrumHeatmap::CellsImage(QSize size, const THeatmapLayout& layout) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    // Pixels first, straight into the image; then lines and text with a painter.
    DrawCells(image, layout);
    DrawColourBar(image, layout);
    return image;
}

void TSpectrumHeatmap::DrawAxesAndNames(QPainter& painter, const THeatmapLayout& layout, QSize size) const
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(font_);
    DrawValueAxis(painter, layout, size.width());
    DrawFrequencyAxis(painter, layout);
    DrawNames(painter, layout);
}
