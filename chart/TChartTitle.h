#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QStringList>

class TCustomChart;

// The chart title: lines of text drawn centred above the plot area, in blue.
class TChartTitle
{
public:
  explicit TChartTitle(TCustomChart* chart);

  // All lines, each followed by "\n".
  QString Text() const;
  // Replaces all lines: the text is split at line breaks ("\r\n", "\n" or
  // "\r"); a break at the very end does not start another line.
  void SetText(const QString& text);
  const QStringList& Lines() const { return FLines; }

  bool Visible() const { return FVisible; }
  void SetVisible(bool visible);
  QColor Color() const { return FColor; }
  void SetColor(const QColor& color);
  // True when the title is visible and one of its lines holds text.
  bool HasText() const;

private:
  TCustomChart* FChart;
  QStringList FLines{QString()};
  bool FVisible = true;
  QColor FColor = Qt::blue;
};

// The legend. Kept as a setting: this chart never draws a legend.
class TChartLegend
{
public:
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible) { FVisible = visible; }

private:
  bool FVisible = false;
};

// The wall behind the plot area, filled with Brush (transparent by default).
class TChartWall
{
public:
  explicit TChartWall(TCustomChart* chart) : FChart(chart) {}
  const QBrush& Brush() const { return FBrush; }
  void SetBrush(const QBrush& brush);

private:
  TCustomChart* FChart;
  QBrush FBrush{Qt::white, Qt::NoBrush};
};
