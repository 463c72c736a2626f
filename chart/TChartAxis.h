#pragma once

#include "chart/axis/TAxisMap.h"

#include <QColor>
#include <QLocale>
#include <QString>

#include <utility>
#include <vector>

class TCustomChart;

// The caption drawn along an axis, outside its labels.
class TChartAxisTitle
{
public:
  explicit TChartAxisTitle(TCustomChart* chart) : FChart(chart) {}
  const QString& Caption() const { return FCaption; }
  // Sets the caption; the chart is redrawn later.
  void SetCaption(const QString& caption);

private:
  TCustomChart* FChart;
  QString FCaption;
};

// One axis of a chart: its settings, its working range and its pixel extent.
//
// The working range is recomputed before each drawing: an automatic axis takes
// the smallest and largest finite values of the active series drawn against it
// (no margin; 0..0 with no data), a fixed one keeps Minimum..Maximum. The pixel
// extent is the plot area's edge along the axis (left to right for a
// horizontal axis, top to bottom for a vertical one). The top and right axes
// carry no series and are never drawn.
//
// Every setter that changes the drawing marks the chart for redrawing.
class TCustomChartAxis
{
public:
  TCustomChartAxis(TCustomChart* chart, bool horizontal);
  virtual ~TCustomChartAxis() = default;
  TCustomChartAxis(const TCustomChartAxis&) = delete;
  TCustomChartAxis& operator=(const TCustomChartAxis&) = delete;

  bool Horizontal() const { return FHorizontal; }
  TChartAxisTitle* Title() { return &FTitle; }
  const TChartAxisTitle* Title() const { return &FTitle; }

  // Automatic takes both ends from the data; setting it sets AutomaticMinimum
  // and AutomaticMaximum too. With Automatic false, each end whose own flag is
  // set still follows the data and the other one is Minimum or Maximum.
  bool Automatic() const { return FAutomatic; }
  void SetAutomatic(bool automatic);
  bool AutomaticMinimum() const { return FAutomaticMinimum; }
  void SetAutomaticMinimum(bool automatic);
  bool AutomaticMaximum() const { return FAutomaticMaximum; }
  void SetAutomaticMaximum(bool automatic);
  double Minimum() const { return FMinimum; }
  void SetMinimum(double value);
  double Maximum() const { return FMaximum; }
  void SetMaximum(double value);

  bool Logarithmic() const { return FLogarithmic; }
  // Switching on throws EChartError "DateTime Axis cannot be Logarithmic" when
  // a series draws date-time values against the axis, and "Logarithmic Axis
  // Min and Max values should be >= 0" when the recomputed working range
  // reaches below 0; the flag then stays as it was. Switching off never fails.
  void SetLogarithmic(bool logarithmic);
  double LogarithmicBase() const { return FLogarithmicBase; }
  void SetLogarithmicBase(double base);

  // Fixed label step; 0 chooses the step from the room available.
  double Increment() const { return FIncrement; }
  void SetIncrement(double increment);
  const QString& AxisValuesFormat() const { return FAxisValuesFormat; }
  void SetAxisValuesFormat(const QString& format);
  // Free space between labels, in percent of the label size.
  int LabelsSeparation() const { return FLabelsSeparation; }
  void SetLabelsSeparation(int percent);
  bool RoundFirstLabel() const { return FRoundFirstLabel; }
  void SetRoundFirstLabel(bool round);
  bool Inverted() const { return FInverted; }
  void SetInverted(bool inverted);

  int TickLength() const { return FTickLength; }
  void SetTickLength(int pixels);
  int MinorTickLength() const { return FMinorTickLength; }
  void SetMinorTickLength(int pixels);
  int MinorTickCount() const { return FMinorTickCount; }
  void SetMinorTickCount(int count);
  bool GridVisible() const { return FGridVisible; }
  void SetGridVisible(bool visible);
  QColor GridColor() const { return FGridColor; }
  void SetGridColor(const QColor& color);
  QColor AxisColor() const { return FAxisColor; }
  void SetAxisColor(const QColor& color);

  // Puts the range to [a, b] in ascending order and clears the three Automatic
  // flags; a range narrower than 1e-10 is widened to 1e-10 by raising the upper
  // end (to the next double where doubles lie further apart, so the range is
  // never left narrower). Ends that are not finite leave the axis unchanged.
  void SetMinMax(double a, double b);

  // True when a series draws values marked DateTime against this axis.
  bool IsDateTime() const;

  // Working range and pixel extent as of the chart's current layout (brought
  // up to date first when data or settings changed).
  double WorkingMinimum() const;
  double WorkingMaximum() const;
  double WorkingRange() const { return WorkingMaximum() - WorkingMinimum(); }
  int PixelStart() const;
  int PixelEnd() const;
  int PixelSize() const { return PixelEnd() - PixelStart(); }
  TAxisMap Map() const;
  // Values of the labels, from the highest down, and of the minor ticks.
  std::vector<double> LabelValues() const;
  std::vector<double> MinorTickValues() const;
  // A label's text: the value formatted with AxisValuesFormat in the
  // separators of the default locale.
  QString LabelText(double value) const;
  // FormatFloat (chart/axis/TNumberFormat.h) with the decimal point, group
  // separator and negative sign of `locale`.
  static QString FormatLabel(const QString& format, double value, const QLocale& locale = QLocale());

  int ValueToPixel(double value) const;
  double PixelToValue(int pixel) const;

  // Layout steps run by the chart before drawing.
  // Working range from the data or the fixed range.
  void CalcRange();
  void SetPixelExtent(int start, int end);
  // Label values for a label of labelSize pixels; may raise the lower end of
  // a logarithmic axis (a lower end of 0 becomes 0.1).
  void CalcLabels(double labelSize);

private:
  void Changed();
  // The range from the data (finite values of active series) or the fixed ends.
  std::pair<double, double> ComputeRange() const;

  TCustomChart* FChart;
  bool FHorizontal;
  TChartAxisTitle FTitle;

  bool FAutomatic = true;
  bool FAutomaticMinimum = true;
  bool FAutomaticMaximum = true;
  double FMinimum = 0.0;
  double FMaximum = 0.0;
  bool FLogarithmic = false;
  double FLogarithmicBase = 10.0;
  double FIncrement = 0.0;
  QString FAxisValuesFormat = QStringLiteral("#,##0.###");
  int FLabelsSeparation = 10;
  bool FRoundFirstLabel = true;
  bool FInverted = false;
  int FTickLength = 4;
  int FMinorTickLength = 2;
  int FMinorTickCount = 3;
  bool FGridVisible = true;
  QColor FGridColor = Qt::gray;
  QColor FAxisColor = Qt::black;

  TAxisMap FMap;
  std::vector<double> FLabels;
  double FLabelStep = 0.0;
};

class TChartAxis : public TCustomChartAxis
{
public:
  using TCustomChartAxis::TCustomChartAxis;
};
