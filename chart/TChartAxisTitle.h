#pragma once

#include <QString>

class TCustomChart;

// The caption drawn along an axis, outside its labels.
class TChartAxisTitle
{
public:
  explicit TChartAxisTitle(TCustomChart* chart) : chart_(chart) {}
  const QString& Caption() const { return caption_; }
  // Sets the caption; the chart is redrawn later.
  void SetCaption(const QString& caption);

private:
  TCustomChart* chart_;
  QString caption_;
};
