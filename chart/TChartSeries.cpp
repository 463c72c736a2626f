#include "chart/TChartSeries.h"

#include "chart/TChart.h"

#include <QCursor>

TChartSeries::TChartSeries(TChart* chart) : FChart(chart)
{
  if (FChart != nullptr) {
    FChart->RegisterSeries(this);
  }
}

TChartSeries::~TChartSeries()
{
  if (FChart != nullptr) {
    FChart->UnregisterSeries(this);
  }
}

int TChartSeries::AddPoint(double x, double y)
{
  const int index = FXValues.InsertPosition(x);
  FXValues.Insert(index, x);
  FYValues.Insert(index, y);
  MarkChartForRedraw();
  return index;
}

void TChartSeries::Clear()
{
  FXValues.Clear();
  FYValues.Clear();
  if (FActive) {
    MarkChartForRedraw();
  }
}

void TChartSeries::SetActive(bool active)
{
  if (FActive != active) {
    FActive = active;
    MarkChartForRedraw();
  }
}

void TChartSeries::SetSeriesColor(const QColor& color)
{
  FSeriesColor = color;
  MarkChartForRedraw();
}

TChartAxis* TChartSeries::HorizAxis() const
{
  return FChart != nullptr ? FChart->BottomAxis() : nullptr;
}

TChartAxis* TChartSeries::VertAxis() const
{
  return FChart != nullptr ? FChart->LeftAxis() : nullptr;
}

void TChartSeries::CursorToValues(double& x, double& y) const
{
  if (FChart == nullptr) {
    x = y = 0.0;
    return;
  }
  const QPoint pos = FChart->mapFromGlobal(QCursor::pos());
  PixelToValues(pos.x(), pos.y(), x, y);
}

void TChartSeries::PixelToValues(int px, int py, double& x, double& y) const
{
  if (FChart == nullptr) {
    x = y = 0.0;
    return;
  }
  x = HorizAxis()->PixelToValue(px);
  y = VertAxis()->PixelToValue(py);
}

void TChartSeries::MarkChartForRedraw() const
{
  if (FChart != nullptr) {
    FChart->Invalidate();
  }
}
