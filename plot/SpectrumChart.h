#pragma once

#include "core/analysis/SpectrumLevels.h"
#include "core/analysis/SpmFile.h"

#include <QColor>
#include <QString>

class QWidget;
class TChart;
class TChartSeries;
class TFastLineSeries;

// What every spectrum view shares: the design settings of a chart and a series, the plotting
// of one spectrum file with its fill value, the linear/logarithmic toggle and the copying of a
// spectrum into an overlay.

// A chart with the design settings of every view: white background with a transparent back
// wall, a title of one empty line, left-axis labels "#,##0.#####".
TChart* MakeChart(QWidget* parent);

// A line series of `chart` in `colour`.
TFastLineSeries* MakeSeries(TChart* chart, const QColor& colour);

// Clears `series` and adds the 361 points (1000 + 25 i Hz, band[i]) of a band, a zero line at
// half the fill value (FillValue of core), so that every point of a written spectrum is positive.
void PlotBand(const TBandValues& band, TChartSeries& series);

// Plots a spectrum file read by ReadSpectrum: its band values (code x scale in extended,
// stored as single) as PlotBand does.
void PlotSpectrum(const TSpectrum& spectrum, TChartSeries& series);

// The first half of a press of the linear/logarithmic toggle on one chart: a linear axis has
// its zoom undone and is redrawn before it is switched; then the left axis's flag is
// inverted. Raises the chart's error when the axis cannot become logarithmic (the flag stays).
// Returns the new flag.
bool SwitchLogAxis(TChart& chart);

// The toggle's caption names the scale the next press selects.
QString LogAxisCaption(bool logarithmic);

// Adds to `overlay` the points (1000 + 25 i Hz, value i of source's YValues) for the lines
// that `source` holds, at most 361 (after a failed read it may hold fewer, or none).
void CopyOverlay(const TChartSeries& source, TChartSeries& overlay);
