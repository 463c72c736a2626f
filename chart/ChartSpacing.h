#pragma once

// The spacing of a chart's frame in pixels: the chart's own layout, its colour bar and the
// pictures drawn in the charts' style (the heatmap) take it from here, so that their axes look
// alike.
namespace ChartSpacing {
// Around the plot area, its axes and the colour bar.
inline constexpr int Margin = 6;
// Between an axis's ticks and its labels, and between the labels and the caption.
inline constexpr int LabelGap = 2;
// An axis's major ticks, and the least gap between its labels in percent of their extent
// (TChartAxis's defaults).
inline constexpr int TickLength = 4;
inline constexpr int LabelsSeparationPercent = 10;
// A colour bar's width, and its gap from the plot area.
inline constexpr int BarWidth = 16;
inline constexpr int BarGap = 10;
} // namespace ChartSpacing
