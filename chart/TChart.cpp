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
  while (!series_.empty()) {
    delete series_.back();
  }
}

void TCustomChart::RegisterSeries(TChartSeries* series)
{
  series_.push_back(series);
  Invalidate();
}

void TCustomChart::UnregisterSeries(TChartSeries* series)
{
  series_.erase(std::remove(series_.begin(), series_.end(), series), series_.end());
  Invalidate();
}

TChartSeries* TCustomChart::Series(int index) const
{
  return series_.at(static_cast<std::size_t>(index));
}

bool TCustomChart::HasActiveSeries() const
{
  return std::any_of(series_.begin(), series_.end(), [](const TChartSeries* s) { return s->Active(); });
}

void TCustomChart::SetColor(const QColor& color)
{
  color_ = color;
  Invalidate();
}

std::array<TChartAxis*, 2> TCustomChart::Axes()
{
  return {&leftAxis_, &bottomAxis_};
}

void TCustomChart::Invalidate()
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

void TCustomChart::Redraw()
{
  cacheValid_ = false;
  repaint();
}

void TCustomChart::EnsureLayout()
{
  if (layoutValid_ || inLayout_) {
    return;
  }
  inLayout_ = true;
  CalcLayout();
  inLayout_ = false;
  layoutValid_ = true;
}

QRect TCustomChart::PlotRect()
{
  EnsureLayout();
  return plotRect_;
}

void TCustomChart::SaveScales()
{
  const auto axes = Axes();
  for (std::size_t i = 0; i < axes.size(); ++i) {
    const TChartAxis* axis = axes[i];
    savedScales_[i] = TAxisScale{axis->Automatic(), axis->AutomaticMinimum(), axis->AutomaticMaximum(),
                                 axis->Minimum(), axis->Maximum()};
  }
  restored_ = false;
}

void TCustomChart::UndoZoom()
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
  DoUndoZoom();
  Invalidate();
  zoomed_ = false;
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
