// Mouse zoom and panning of TCustomChart.

#include "chart/TChart.h"

#include <QMouseEvent>

#include <cstdlib>

namespace
{
// A zoom rectangle must be larger than this in both directions.
constexpr int MinZoomDrag = 16;
} // namespace

bool TCustomChart::CanStartBand(const QPoint& pos)
{
  EnsureLayout();
  if (pos.y() < FTitleBottom) {
    return false;
  }
  if (FPlotRect.contains(pos)) {
    return HasActiveSeries();
  }
  // On an axis: the strip of the left labels or of the bottom labels.
  const bool onLeftAxis = pos.x() < FPlotRect.left() && pos.y() >= FPlotRect.top() && pos.y() <= FPlotRect.bottom() + 1;
  const bool onBottomAxis = pos.y() > FPlotRect.bottom() && pos.x() >= FPlotRect.left() - 1 && pos.x() <= FPlotRect.right();
  return onLeftAxis || onBottomAxis;
}

void TCustomChart::mousePressEvent(QMouseEvent* event)
{
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    if (FAllowZoom && CanStartBand(pos)) {
      FZoomBand = TChartMouseBand{true, pos.x(), pos.y(), pos.x(), pos.y()};
    }
  } else if (event->button() == Qt::RightButton) {
    if (FAllowPanning != pmNone && CanStartBand(pos)) {
      FPanBand = TChartMouseBand{true, pos.x(), pos.y(), pos.x(), pos.y()};
    }
  }
  QWidget::mousePressEvent(event);
}

void TCustomChart::mouseMoveEvent(QMouseEvent* event)
{
  const QPoint pos = event->position().toPoint();
  // The window's handler sees the move before the chart acts on it.
  DoMouseMove(event->modifiers(), pos.x(), pos.y());

  if (FZoomBand.Active) {
    FZoomBand.X1 = pos.x();
    FZoomBand.Y1 = pos.y();
    update();
  }
  if (FPanBand.Active) {
    EnsureLayout();
    if (!FPlotRect.contains(pos)) {
      FPanBand.Active = false;
    } else if (pos.x() != FPanBand.X1 || pos.y() != FPanBand.Y1) {
      PanTo(pos.x(), pos.y());
    }
  }
  QWidget::mouseMoveEvent(event);
}

void TCustomChart::mouseReleaseEvent(QMouseEvent* event)
{
  const QPoint pos = event->position().toPoint();
  // Releasing any button ends panning.
  FPanBand.Active = false;
  if (event->button() == Qt::LeftButton && FZoomBand.Active) {
    FZoomBand.X1 = pos.x();
    FZoomBand.Y1 = pos.y();
    FZoomBand.Active = false;
    FinishZoom();
    update();
  }
  QWidget::mouseReleaseEvent(event);
}

void TCustomChart::FinishZoom()
{
  const TChartMouseBand& band = FZoomBand;
  if (std::abs(band.X1 - band.X0) <= MinZoomDrag || std::abs(band.Y1 - band.Y0) <= MinZoomDrag) {
    return;
  }
  if (band.X0 < band.X1 && band.Y0 < band.Y1) {
    if (FRestored) {
      SaveScales();
    }
    // All four edges are converted with the layout the operator dragged on.
    const double left = FBottomAxis.PixelToValue(band.X0);
    const double right = FBottomAxis.PixelToValue(band.X1);
    const double top = FLeftAxis.PixelToValue(band.Y0);
    const double bottom = FLeftAxis.PixelToValue(band.Y1);
    FBottomAxis.SetMinMax(left, right);
    FLeftAxis.SetMinMax(bottom, top);
    FZoomed = true;
    DoZoom();
  } else {
    UndoZoom();
  }
  Invalidate();
}

void TCustomChart::PanTo(int x, int y)
{
  if (FRestored) {
    SaveScales();
  }
  const bool horizontal = FAllowPanning == pmHorizontal || FAllowPanning == pmBoth;
  const bool vertical = FAllowPanning == pmVertical || FAllowPanning == pmBoth;
  const double dx = FBottomAxis.PixelToValue(FPanBand.X1) - FBottomAxis.PixelToValue(x);
  const double dy = FLeftAxis.PixelToValue(FPanBand.Y1) - FLeftAxis.PixelToValue(y);
  const double xLo = FBottomAxis.WorkingMinimum();
  const double xHi = FBottomAxis.WorkingMaximum();
  const double yLo = FLeftAxis.WorkingMinimum();
  const double yHi = FLeftAxis.WorkingMaximum();
  if (horizontal) {
    FBottomAxis.SetMinMax(xLo + dx, xHi + dx);
  }
  if (vertical) {
    FLeftAxis.SetMinMax(yLo + dy, yHi + dy);
  }
  FPanBand.X1 = x;
  FPanBand.Y1 = y;
  Invalidate();
}
