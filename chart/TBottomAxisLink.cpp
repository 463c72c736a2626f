#include "chart/TBottomAxisLink.h"

#include "chart/TChart.h"

TBottomAxisLink::TBottomAxisLink(std::span<TChart* const> charts, QObject* parent)
    : QObject(parent), charts_(charts.begin(), charts.end())
{
    for (TChart* chart : charts_) {
        connect(chart, &TChart::zoomed, this, [this, chart] { Follow(*chart, true); });
        connect(chart, &TChart::panned, this, [this, chart] { Follow(*chart, false); });
        connect(chart, &TChart::zoomUndone, this, [this, chart] { UndoOthers(*chart); });
    }
}

void TBottomAxisLink::Follow(TChart& leader, bool zoom)
{
    if (following_) {
        return;
    }
    following_ = true;
    const TChartAxis& axis = *leader.BottomAxis();
    for (TChart* chart : charts_) {
        if (chart != &leader) {
            chart->FollowBottomAxis(axis.Minimum(), axis.Maximum(), zoom);
        }
    }
    AlignPlotAreas(charts_);
    following_ = false;
}

void TBottomAxisLink::UndoOthers(TChart& leader)
{
    if (following_) {
        return;
    }
    following_ = true;
    for (TChart* chart : charts_) {
        if (chart != &leader) {
            chart->UndoZoom();
        }
    }
    AlignPlotAreas(charts_);
    following_ = false;
}
