// Layout and drawing of TCustomChart: background, title, grid, axes, series.

#include "chart/TChart.h"

#include "chart/TChartSeries.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace
{
constexpr int Margin = 6;
// Gap between an axis's ticks and its labels, and between labels and caption.
constexpr int LabelGap = 2;
constexpr int TitleGap = 4;

int TextWidth(const QFontMetrics& fm, const QString& text)
{
  return fm.horizontalAdvance(text);
}
} // namespace

void TCustomChart::CalcLayout()
{
  const QFontMetrics fm(font());
  const int lineHeight = fm.height();
  const int w = width();
  const int h = height();

  int top = Margin;
  if (FTitle.HasText()) {
    top += static_cast<int>(FTitle.Lines().size()) * lineHeight + TitleGap;
  }
  FTitleBottom = top;
  // Half a label above the plot area keeps the top label inside the control.
  top += lineHeight / 2;

  int bottom = h - 1 - Margin;
  if (!FBottomAxis.Title()->Caption().isEmpty()) {
    bottom -= lineHeight + LabelGap;
  }
  bottom -= lineHeight + FBottomAxis.TickLength() + LabelGap + 1;
  bottom = std::max(bottom, top);

  for (TChartAxis* axis : Axes()) {
    axis->CalcRange();
  }

  // The left labels depend only on the height, and their width decides where
  // the plot area starts.
  FLeftAxis.SetPixelExtent(top, bottom);
  FLeftAxis.CalcLabels(lineHeight);
  int labelWidth = 0;
  for (double value : FLeftAxis.LabelValues()) {
    labelWidth = std::max(labelWidth, TextWidth(fm, FLeftAxis.LabelText(value)));
  }
  int left = Margin + labelWidth + LabelGap + FLeftAxis.TickLength() + 1;
  if (!FLeftAxis.Title()->Caption().isEmpty()) {
    left += lineHeight + LabelGap;
  }

  const QString lowText = FBottomAxis.LabelText(FBottomAxis.Map().Lo);
  const QString highText = FBottomAxis.LabelText(FBottomAxis.Map().Hi);
  int right = w - 1 - std::max(Margin, TextWidth(fm, highText) / 2 + LabelGap);
  right = std::max(right, left);
  FBottomAxis.SetPixelExtent(left, right);
  FBottomAxis.CalcLabels(std::max(TextWidth(fm, lowText), TextWidth(fm, highText)));

  // The top and right axes carry no series; they share the extents so that
  // their conversions stay meaningful.
  FTopAxis.SetPixelExtent(left, right);
  FRightAxis.SetPixelExtent(top, bottom);

  FPlotRect = QRect(QPoint(left, top), QPoint(right, bottom));
}

void TCustomChart::PaintTo(QPainter& painter)
{
  EnsureLayout();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setFont(font());
  PaintBackground(painter);
  PaintTitle(painter);
  PaintGrid(painter);
  PaintSeries(painter);
  PaintLeftAxis(painter);
  PaintBottomAxis(painter);
  painter.restore();
}

void TCustomChart::PaintBackground(QPainter& painter) const
{
  painter.fillRect(QRect(0, 0, width(), height()), FColor);
  if (FBackWall.Brush().style() != Qt::NoBrush) {
    painter.fillRect(FPlotRect, FBackWall.Brush());
  }
}

void TCustomChart::PaintTitle(QPainter& painter) const
{
  if (!FTitle.HasText()) {
    return;
  }
  const QFontMetrics fm(font());
  painter.setPen(FTitle.Color());
  int y = Margin;
  for (const QString& line : FTitle.Lines()) {
    painter.drawText(QRect(0, y, width(), fm.height()), Qt::AlignHCenter | Qt::AlignTop, line);
    y += fm.height();
  }
}

void TCustomChart::PaintGrid(QPainter& painter) const
{
  const QRect plot = FPlotRect;
  if (FLeftAxis.GridVisible()) {
    painter.setPen(QPen(FLeftAxis.GridColor(), 0, Qt::DotLine));
    const TAxisMap map = FLeftAxis.Map();
    for (double value : FLeftAxis.LabelValues()) {
      const int y = map.ValueToPixel(value);
      if (y >= plot.top() && y <= plot.bottom()) {
        painter.drawLine(plot.left(), y, plot.right(), y);
      }
    }
  }
  if (FBottomAxis.GridVisible()) {
    painter.setPen(QPen(FBottomAxis.GridColor(), 0, Qt::DotLine));
    const TAxisMap map = FBottomAxis.Map();
    for (double value : FBottomAxis.LabelValues()) {
      const int x = map.ValueToPixel(value);
      if (x >= plot.left() && x <= plot.right()) {
        painter.drawLine(x, plot.top(), x, plot.bottom());
      }
    }
  }
}

void TCustomChart::PaintLeftAxis(QPainter& painter) const
{
  const QRect plot = FPlotRect;
  const QFontMetrics fm(font());
  const TAxisMap map = FLeftAxis.Map();
  const int axisX = plot.left() - 1;
  painter.setPen(QPen(FLeftAxis.AxisColor(), 0));
  painter.drawLine(axisX, plot.top(), axisX, plot.bottom() + 1);

  for (double value : FLeftAxis.MinorTickValues()) {
    const int y = map.ValueToPixel(value);
    painter.drawLine(axisX - FLeftAxis.MinorTickLength(), y, axisX, y);
  }
  const int labelRight = axisX - FLeftAxis.TickLength() - LabelGap;
  for (double value : FLeftAxis.LabelValues()) {
    const int y = map.ValueToPixel(value);
    if (y < plot.top() || y > plot.bottom()) {
      continue;
    }
    painter.drawLine(axisX - FLeftAxis.TickLength(), y, axisX, y);
    const QRect box(0, y - fm.height() / 2, labelRight, fm.height());
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, FLeftAxis.LabelText(value));
  }

  const QString& caption = FLeftAxis.Title()->Caption();
  if (!caption.isEmpty()) {
    painter.save();
    painter.translate(Margin, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRect(-plot.height() / 2, 0, plot.height(), fm.height()), Qt::AlignCenter, caption);
    painter.restore();
  }
}

void TCustomChart::PaintBottomAxis(QPainter& painter) const
{
  const QRect plot = FPlotRect;
  const QFontMetrics fm(font());
  const TAxisMap map = FBottomAxis.Map();
  const int axisY = plot.bottom() + 1;
  painter.setPen(QPen(FBottomAxis.AxisColor(), 0));
  painter.drawLine(plot.left() - 1, axisY, plot.right(), axisY);

  for (double value : FBottomAxis.MinorTickValues()) {
    const int x = map.ValueToPixel(value);
    painter.drawLine(x, axisY, x, axisY + FBottomAxis.MinorTickLength());
  }
  const int labelTop = axisY + FBottomAxis.TickLength() + LabelGap;
  for (double value : FBottomAxis.LabelValues()) {
    const int x = map.ValueToPixel(value);
    if (x < plot.left() || x > plot.right()) {
      continue;
    }
    painter.drawLine(x, axisY, x, axisY + FBottomAxis.TickLength());
    const QString text = FBottomAxis.LabelText(value);
    const int textWidth = TextWidth(fm, text);
    painter.drawText(QRect(x - textWidth / 2 - 1, labelTop, textWidth + 2, fm.height()), Qt::AlignCenter, text);
  }

  const QString& caption = FBottomAxis.Title()->Caption();
  if (!caption.isEmpty()) {
    const QRect box(plot.left(), labelTop + fm.height() + LabelGap, plot.width(), fm.height());
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, caption);
  }
}

void TCustomChart::PaintSeries(QPainter& painter) const
{
  painter.save();
  painter.setClipRect(FPlotRect);
  for (const TChartSeries* series : FSeries) {
    if (series->Active()) {
      series->DrawAllValues(painter);
    }
  }
  painter.restore();
}

void TCustomChart::PaintBand(QPainter& painter) const
{
  if (!FZoomBand.Active) {
    return;
  }
  const QRect band = QRect(QPoint(FZoomBand.X0, FZoomBand.Y0), QPoint(FZoomBand.X1, FZoomBand.Y1)).normalized();
  // Drawn over the cached picture, so moving or ending the band erases it.
  painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(band);
}

void TCustomChart::paintEvent(QPaintEvent* /*event*/)
{
  EnsureLayout();
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  if (!FCacheValid || FCache.size() != pixels) {
    if (FCache.size() != pixels) {
      FCache = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    }
    FCache.setDevicePixelRatio(ratio);
    QPainter cachePainter(&FCache);
    PaintTo(cachePainter);
    FCacheValid = true;
  }
  QPainter painter(this);
  painter.drawImage(0, 0, FCache);
  PaintBand(painter);
}

void TCustomChart::resizeEvent(QResizeEvent* event)
{
  QWidget::resizeEvent(event);
  Invalidate();
}

void TCustomChart::changeEvent(QEvent* event)
{
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    Invalidate();
  }
}
