#include "chart/TChartTitle.h"

#include "chart/TChart.h"

#include <QRegularExpression>

TChartTitle::TChartTitle(TCustomChart* chart) : FChart(chart) {}

QString TChartTitle::Text() const
{
  QString text;
  for (const QString& line : FLines) {
    text += line;
    text += QLatin1Char('\n');
  }
  return text;
}

void TChartTitle::SetText(const QString& text)
{
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
  FLines = text.split(lineBreak);
  // A break at the very end closes the last line rather than opening a new one.
  if (FLines.size() > 1 && FLines.back().isEmpty()) {
    FLines.removeLast();
  }
  if (text.isEmpty()) {
    FLines.clear();
  }
  FChart->Invalidate();
}

void TChartTitle::SetVisible(bool visible)
{
  FVisible = visible;
  FChart->Invalidate();
}

void TChartTitle::SetColor(const QColor& color)
{
  FColor = color;
  FChart->Invalidate();
}

bool TChartTitle::HasText() const
{
  if (!FVisible) {
    return false;
  }
  for (const QString& line : FLines) {
    if (!line.isEmpty()) {
      return true;
    }
  }
  return false;
}

void TChartWall::SetBrush(const QBrush& brush)
{
  FBrush = brush;
  FChart->Invalidate();
}
