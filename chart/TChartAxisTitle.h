#pragma once

#include <QString>

class TChart;

// The caption drawn along an axis, outside its labels.
class TChartAxisTitle {
public:
    explicit TChartAxisTitle(TChart* chart) : chart_(chart) {}
    const QString& Caption() const { return caption_; }
    // Sets the caption; the chart is redrawn later.
    void SetCaption(const QString& caption);

private:
    TChart* chart_;
    QString caption_;
};
