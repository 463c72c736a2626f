#include "chart/TChartWall.h"

#include "chart/TChart.h"

void TChartWall::SetBrush(const QBrush& brush)
{
    brush_ = brush;
    chart_->Invalidate();
}
