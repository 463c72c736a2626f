#include "chart/TChartSeries.h"

#include "chart/TChart.h"

#include <QCursor>

TChartSeries::TChartSeries(TChart* chart) : chart_(chart)
{
    if (chart_ != nullptr) {
        chart_->RegisterSeries(this);
    }
}

TChartSeries::~TChartSeries()
{
    if (chart_ != nullptr) {
        chart_->UnregisterSeries(this);
    }
}

int TChartSeries::AddPoint(double x, double y)
{
    const int index = xValues_.InsertPosition(x);
    xValues_.Insert(index, x);
    yValues_.Insert(index, y);
    MarkChartForRedraw();
    return index;
}

void TChartSeries::Clear()
{
    xValues_.Clear();
    yValues_.Clear();
    if (active_) {
        MarkChartForRedraw();
    }
}

void TChartSeries::SetActive(bool active)
{
    if (active_ != active) {
        active_ = active;
        MarkChartForRedraw();
    }
}

void TChartSeries::SetBackdrop(bool backdrop)
{
    if (backdrop_ != backdrop) {
        backdrop_ = backdrop;
        MarkChartForRedraw();
    }
}

void TChartSeries::SetSeriesColor(const QColor& color)
{
    seriesColor_ = color;
    MarkChartForRedraw();
}

TChartAxis* TChartSeries::HorizAxis() const { return chart_ != nullptr ? chart_->BottomAxis() : nullptr; }

TChartAxis* TChartSeries::VertAxis() const { return chart_ != nullptr ? chart_->LeftAxis() : nullptr; }

void TChartSeries::CursorToValues(double& x, double& y) const
{
    if (chart_ == nullptr) {
        x = y = 0.0;
        return;
    }
    const QPoint pos = chart_->mapFromGlobal(QCursor::pos());
    PixelToValues(pos.x(), pos.y(), x, y);
}

void TChartSeries::PixelToValues(int px, int py, double& x, double& y) const
{
    if (chart_ == nullptr) {
        x = y = 0.0;
        return;
    }
    x = HorizAxis()->PixelToValue(px);
    y = VertAxis()->PixelToValue(py);
}

void TChartSeries::MarkChartForRedraw() const
{
    if (chart_ != nullptr) {
        chart_->Invalidate();
    }
}
