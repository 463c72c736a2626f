#include "chart/TChartAxisTitle.h"

#include "chart/TChart.h"

void TChartAxisTitle::SetCaption(const QString& caption)
{
    caption_ = caption;
    chart_->Invalidate();
}
