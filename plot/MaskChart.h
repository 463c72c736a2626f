#pragma once

#include "core/analysis/SpmFile.h"
#include "core/qc/ToleranceMask.h"

#include <QColor>
#include <QString>

#include <optional>

class QWidget;
class TBandSeries;
class TChart;
class TChartSeries;
class TFastLineSeries;
class TMarkSeries;

// A spectrum against a tolerance mask, as the check window, the spectrum views showing a mask
// and the pictures of tulvo-cli draw it: the mask's band behind the curves (its lower and
// upper limits as lines, the band between them lightly filled, lines without limits, such as
// an excluded range, left blank), and a unit's lines that lie outside their limits marked in
// red, each by a dot on the curve and a stem from the limit it crossed. The band is a backdrop
// (TChartSeries::Backdrop): the curves alone decide the automatic value range. Works on any
// TChart, shown in a window or drawn offscreen into an image (TChart::PaintTo).
//
// A chart's values are a line's code x scale (PlotSpectrum), so a limit of L dB lies at
// 10^(L/10) on the value axis.

// The limits' lines, the band's fill (see-through, so the grid shows through it) and the marks
// of lines outside.
inline const QColor MaskLimitColour{0, 128, 0};
inline const QColor MaskFillColour{0, 160, 0, 48};
inline const QColor OutsideMarkColour{255, 0, 0};
// A unit's curve drawn against a mask (MakeMaskChartSeries).
inline const QColor MaskedCurveColour{0, 0, 160};

// The chart value of a level of db dB: 10^(db / 10).
double ChartValueOfDb(double db);

// The limits of one band line in a chart's values; NaN on a side without a limit.
struct TChartLimits {
    double Lower;
    double Upper;
};

// The limits of the band line of mask nearest to frequencyHz, in a chart's values (the
// read-out), halfway between two lines the higher; nothing half a line step or more outside the
// band (below 987.5 Hz, from 10012.5 Hz up) or for a frequency that is not a number.
std::optional<TChartLimits> MaskLimitsAt(const TToleranceMask& mask, double frequencyHz);

// A band series (TBandSeries) of chart in the mask's colours, empty; the chart owns it. It is
// drawn behind every other series of the chart, whether made before them or after.
TBandSeries* MakeMaskBand(TChart& chart);

// Clears band and adds the 361 lines of mask: (1000 + 25 i Hz, lower, upper) in chart values,
// NaN where the line has no limit on that side.
void PlotMaskBand(const TToleranceMask& mask, TBandSeries& band);

// A mark series (TMarkSeries) of chart in OutsideMarkColour, empty; the chart owns it. Make it
// after the curve it marks, so that it is drawn over it.
TMarkSeries* MakeOutsideMarks(TChart& chart);

// Clears marks and adds one mark per line that verdict (of a unit against mask) has outside:
// at the line's value on curve (the unit's spectrum as PlotSpectrum plotted it; the level of
// the verdict in chart values where curve holds no such line), with its stem from the limit
// that the line crossed.
void PlotOutsideMarks(const TToleranceMask& mask, const TMaskVerdict& verdict, const TChartSeries& curve,
                      TMarkSeries& marks);

// The series that draw a unit against a mask on one chart, in drawing order.
struct TMaskChartSeries {
    TBandSeries* Band = nullptr;
    TFastLineSeries* Curve = nullptr; // in MaskedCurveColour
    TMarkSeries* Outside = nullptr;
};

// Makes the band, the curve and the marks on chart (which owns them).
TMaskChartSeries MakeMaskChartSeries(TChart& chart);

// Draws a unit against mask on series: the band, the spectrum (PlotSpectrum) and the lines
// that verdict, the unit's check against mask, has outside. Without a spectrum (a unit that
// could not be read) the band alone, and verdict is not used.
void PlotUnitAgainstMask(const TToleranceMask& mask, const TSpectrum* spectrum, const TMaskVerdict* verdict,
                         const TMaskChartSeries& series);

// A chart of a unit against mask as the check window draws it, for a picture: MakeChart's
// design, title "С П Е К Т Р  " and name, "Гц" below, and PlotUnitAgainstMask of spectrum and
// verdict on a linear value axis. Give it its size, then draw it with TChart::PaintTo (needs a
// QApplication, no window).
TChart* MakeMaskChart(QWidget* parent, const TToleranceMask& mask, const TSpectrum& spectrum,
                      const TMaskVerdict& verdict, const QString& name);
