#include "chart/TChart.h"

#include "chart/TChartSeries.h"

#include <algorithm>

TChart::TChart(QWidget* parent) : QWidget(parent)
{
    // mouseMoved is emitted for every move over the control, not only while a
    // button is held.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Right presses and releases always reach the mouse handlers here: a right click is the
    // chart's own (rightClicked), never a context-menu event handed to the parent.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

TChart::~TChart()
{
    // The chart owns its series; each one unregisters itself when deleted.
    while (!series_.empty()) {
        delete series_.back();
    }
}

void TChart::RegisterSeries(TChartSeries* series)
{
    series_.push_back(series);
    Invalidate();
}

void TChart::UnregisterSeries(TChartSeries* series)
{
    series_.erase(std::remove(series_.begin(), series_.end(), series), series_.end());
    Invalidate();
}

TChartSeries* TChart::Series(int index) const { return series_.at(static_cast<std::size_t>(index)); }

bool TChart::HasActiveSeries() const
{
    return std::any_of(series_.begin(), series_.end(), [](const TChartSeries* s) { return s->Active(); });
}

void TChart::SetColor(const QColor& color)
{
    color_ = color;
    Invalidate();
}

std::array<TChartAxis*, 2> TChart::Axes() { return {&leftAxis_, &bottomAxis_}; }

void TChart::Invalidate()
{
    // While a repaint is already due, further changes need no new request:
    // filling a series point by point costs one repaint.
    const bool pending = !layoutValid_ && !cacheValid_;
    layoutValid_ = false;
    cacheValid_ = false;
    if (!pending) {
        update();
    }
}

void TChart::Redraw()
{
    cacheValid_ = false;
    repaint();
}

void TChart::EnsureLayout()
{
    if (layoutValid_ || inLayout_) {
        return;
    }
    inLayout_ = true;
    CalcLayout();
    inLayout_ = false;
    layoutValid_ = true;
}

QRect TChart::PlotRect()
{
    EnsureLayout();
    return plotRect_;
}

void TChart::SaveScales()
{
    const auto axes = Axes();
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const TChartAxis* axis = axes[i];
        savedScales_[i] = TAxisScale{axis->Automatic(), axis->AutomaticMinimum(), axis->AutomaticMaximum(),
                                     axis->Minimum(), axis->Maximum()};
    }
    restored_ = false;
}

void TChart::UndoZoom()
{
    if (!restored_) {
        const auto axes = Axes();
        for (std::size_t i = 0; i < axes.size(); ++i) {
            TChartAxis* axis = axes[i];
            const TAxisScale& saved = savedScales_[i];
            axis->SetAutomatic(saved.Automatic);
            axis->SetAutomaticMinimum(saved.AutomaticMinimum);
            axis->SetAutomaticMaximum(saved.AutomaticMaximum);
            if (!saved.Automatic) {
                axis->SetMinimum(saved.Minimum);
                axis->SetMaximum(saved.Maximum);
            }
        }
        restored_ = true;
    }
    emit zoomUndone();
    Invalidate();
    zoomed_ = false;
}

void TChart::FollowBottomAxis(double minimum, double maximum, bool zoom)
{
    if (restored_) {
        SaveScales();
    }
    bottomAxis_.SetMinMax(minimum, maximum);
    if (zoom) {
        zoomed_ = true;
    }
    Invalidate();
}

void TChart::SetPlotInsets(int left, int right)
{
    plotInsetLeft_ = left;
    plotInsetRight_ = right;
    Invalidate();
}

void AlignPlotAreas(std::span<TChart* const> charts)
{
    int left = 0;
    int right = 0;
    for (TChart* chart : charts) {
        chart->SetPlotInsets(0, 0);
        const QRect plot = chart->PlotRect();
        left = std::max(left, plot.left());
        right = std::max(right, chart->width() - 1 - plot.right());
    }
    for (TChart* chart : charts) {
        chart->SetPlotInsets(left, right);
    }
}
