#include "chart/TChart.h"

#include "chart/TChartSeries.h"

#include <algorithm>

TCustomChart::TCustomChart(QWidget* parent) : QWidget(parent)
{
  // OnMouseMove is raised for every move over the control, not only while a
  // button is held.
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

TCustomChart::~TCustomChart()
{
  // The chart owns its series; each one unregisters itself when deleted.
  while (!FSeries.empty()) {
    delete FSeries.back();
  }
}

void TCustomChart::RegisterSeries(TChartSeries* series)
{
  FSeries.push_back(series);
  Invalidate();
}

void TCustomChart::UnregisterSeries(TChartSeries* series)
{
  FSeries.erase(std::remove(FSeries.begin(), FSeries.end(), series), FSeries.end());
  Invalidate();
}

TChartSeries* TCustomChart::Series(int index) const
{
  return FSeries.at(static_cast<std::size_t>(index));
}

bool TCustomChart::HasActiveSeries() const
{
  return std::any_of(FSeries.begin(), FSeries.end(), [](const TChartSeries* s) { return s->Active(); });
}

void TCustomChart::SetColor(const QColor& color)
{
  FColor = color;
  Invalidate();
}

std::array<TChartAxis*, 4> TCustomChart::Axes()
{
  return {&FLeftAxis, &FBottomAxis, &FTopAxis, &FRightAxis};
}

void TCustomChart::Invalidate()
{
  // While a repaint is already due, further changes need no new request:
  // filling a series point by point costs one repaint.
  const bool pending = !FLayoutValid && !FCacheValid;
  FLayoutValid = false;
  FCacheValid = false;
  if (!pending) {
    update();
  }
}

void TCustomChart::Redraw()
{
  FCacheValid = false;
  repaint();
}

void TCustomChart::EnsureLayout()
{
  if (FLayoutValid || FInLayout) {
    return;
  }
  FInLayout = true;
  CalcLayout();
  FInLayout = false;
  FLayoutValid = true;
}

QRect TCustomChart::PlotRect()
{
  EnsureLayout();
  return FPlotRect;
}

void TCustomChart::SaveScales()
{
  const auto axes = Axes();
  for (std::size_t i = 0; i < axes.size(); ++i) {
    const TChartAxis* axis = axes[i];
    FSavedScales[i] = TAxisScale{axis->Automatic(), axis->AutomaticMinimum(), axis->AutomaticMaximum(),
                                 axis->Minimum(), axis->Maximum()};
  }
  FRestored = false;
}

void TCustomChart::UndoZoom()
{
  if (!FRestored) {
    const auto axes = Axes();
    for (std::size_t i = 0; i < axes.size(); ++i) {
      TChartAxis* axis = axes[i];
      const TAxisScale& saved = FSavedScales[i];
      axis->SetAutomatic(saved.Automatic);
      axis->SetAutomaticMinimum(saved.AutomaticMinimum);
      axis->SetAutomaticMaximum(saved.AutomaticMaximum);
      if (!saved.Automatic) {
        axis->SetMinimum(saved.Minimum);
        axis->SetMaximum(saved.Maximum);
      }
    }
    FRestored = true;
  }
  DoUndoZoom();
  Invalidate();
  FZoomed = false;
}

void TCustomChart::DoMouseMove(Qt::KeyboardModifiers /*shift*/, int /*x*/, int /*y*/) {}

void TCustomChart::DoZoom() {}

void TCustomChart::DoUndoZoom() {}

TChart::TChart(QWidget* parent) : TCustomChart(parent) {}

void TChart::DoMouseMove(Qt::KeyboardModifiers shift, int x, int y)
{
  if (OnMouseMove) {
    OnMouseMove(this, shift, x, y);
  }
}

void TChart::DoZoom()
{
  if (OnZoom) {
    OnZoom(this);
  }
}

void TChart::DoUndoZoom()
{
  if (OnUndoZoom) {
    OnUndoZoom(this);
  }
}
