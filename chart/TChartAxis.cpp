#include "chart/TChartAxis.h"

#include "chart/EChartError.h"
#include "chart/axis/TAxisLabels.h"
#include "chart/axis/TNumberFormat.h"
#include "chart/TChart.h"
#include "chart/TChartSeries.h"

#include <cmath>
#include <limits>
#include <utility>

namespace
{
constexpr double MinZoomRange = 1e-10;
} // namespace

void TChartAxisTitle::SetCaption(const QString& caption)
{
  FCaption = caption;
  FChart->Invalidate();
}

TCustomChartAxis::TCustomChartAxis(TCustomChart* chart, bool horizontal)
    : FChart(chart), FHorizontal(horizontal), FTitle(chart)
{
  FMap.Horizontal = horizontal;
}

void TCustomChartAxis::Changed()
{
  FChart->Invalidate();
}

void TCustomChartAxis::SetAutomatic(bool automatic)
{
  FAutomatic = automatic;
  FAutomaticMinimum = automatic;
  FAutomaticMaximum = automatic;
  Changed();
}

void TCustomChartAxis::SetAutomaticMinimum(bool automatic)
{
  FAutomaticMinimum = automatic;
  Changed();
}

void TCustomChartAxis::SetAutomaticMaximum(bool automatic)
{
  FAutomaticMaximum = automatic;
  Changed();
}

void TCustomChartAxis::SetMinimum(double value)
{
  FMinimum = value;
  Changed();
}

void TCustomChartAxis::SetMaximum(double value)
{
  FMaximum = value;
  Changed();
}

void TCustomChartAxis::SetLogarithmic(bool logarithmic)
{
  if (logarithmic == FLogarithmic) {
    return;
  }
  if (logarithmic) {
    if (IsDateTime()) {
      throw EChartError("DateTime Axis cannot be Logarithmic");
    }
    const auto [lo, hi] = ComputeRange();
    if (lo < 0.0 || hi < 0.0) {
      throw EChartError("Logarithmic Axis Min and Max values should be >= 0");
    }
  }
  FLogarithmic = logarithmic;
  Changed();
}

void TCustomChartAxis::SetLogarithmicBase(double base)
{
  FLogarithmicBase = base;
  Changed();
}

void TCustomChartAxis::SetIncrement(double increment)
{
  FIncrement = increment;
  Changed();
}

void TCustomChartAxis::SetAxisValuesFormat(const QString& format)
{
  FAxisValuesFormat = format;
  Changed();
}

void TCustomChartAxis::SetLabelsSeparation(int percent)
{
  FLabelsSeparation = percent;
  Changed();
}

void TCustomChartAxis::SetRoundFirstLabel(bool round)
{
  FRoundFirstLabel = round;
  Changed();
}

void TCustomChartAxis::SetInverted(bool inverted)
{
  FInverted = inverted;
  Changed();
}

void TCustomChartAxis::SetTickLength(int pixels)
{
  FTickLength = pixels;
  Changed();
}

void TCustomChartAxis::SetMinorTickLength(int pixels)
{
  FMinorTickLength = pixels;
  Changed();
}

void TCustomChartAxis::SetMinorTickCount(int count)
{
  FMinorTickCount = count;
  Changed();
}

void TCustomChartAxis::SetGridVisible(bool visible)
{
  FGridVisible = visible;
  Changed();
}

void TCustomChartAxis::SetGridColor(const QColor& color)
{
  FGridColor = color;
  Changed();
}

void TCustomChartAxis::SetAxisColor(const QColor& color)
{
  FAxisColor = color;
  Changed();
}

void TCustomChartAxis::SetMinMax(double a, double b)
{
  if (!std::isfinite(a) || !std::isfinite(b)) {
    return;
  }
  if (b < a) {
    std::swap(a, b);
  }
  if (b - a < MinZoomRange) {
    b = a + MinZoomRange;
    // From about 1e6 on, neighbouring doubles lie more than 1e-10 apart and
    // the sum rounds back to a (or a hair short of 1e-10): take the next
    // double up instead, or at the very top of the doubles the one below a.
    if (b - a < MinZoomRange) {
      if (b < std::numeric_limits<double>::max()) {
        b = std::nextafter(b, std::numeric_limits<double>::infinity());
      } else {
        a = std::nextafter(a, 0.0);
      }
    }
  }
  FAutomatic = false;
  FAutomaticMinimum = false;
  FAutomaticMaximum = false;
  FMinimum = a;
  FMaximum = b;
  Changed();
}

bool TCustomChartAxis::IsDateTime() const
{
  for (int i = 0; i < FChart->SeriesCount(); ++i) {
    const TChartSeries* series = FChart->Series(i);
    if (series->HorizAxis() == this && series->XValues().DateTime()) {
      return true;
    }
    if (series->VertAxis() == this && series->YValues().DateTime()) {
      return true;
    }
  }
  return false;
}

std::pair<double, double> TCustomChartAxis::ComputeRange() const
{
  double lo = FMinimum;
  double hi = FMaximum;
  const bool autoLo = FAutomatic || FAutomaticMinimum;
  const bool autoHi = FAutomatic || FAutomaticMaximum;
  if (!autoLo && !autoHi) {
    return {lo, hi};
  }
  bool any = false;
  double dataLo = 0.0;
  double dataHi = 0.0;
  for (int i = 0; i < FChart->SeriesCount(); ++i) {
    const TChartSeries* series = FChart->Series(i);
    if (!series->Active() || series->Count() == 0) {
      continue;
    }
    const TChartValueList* list = nullptr;
    if (series->HorizAxis() == this) {
      list = &series->XValues();
    } else if (series->VertAxis() == this) {
      list = &series->YValues();
    }
    // Non-finite values take no part in the range.
    if (list == nullptr || !list->HasFiniteValues()) {
      continue;
    }
    if (!any) {
      dataLo = list->MinValue();
      dataHi = list->MaxValue();
      any = true;
    } else {
      dataLo = std::min(dataLo, list->MinValue());
      dataHi = std::max(dataHi, list->MaxValue());
    }
  }
  if (autoLo) {
    lo = dataLo;
  }
  if (autoHi) {
    hi = dataHi;
  }
  return {lo, hi};
}

void TCustomChartAxis::CalcRange()
{
  const auto [lo, hi] = ComputeRange();
  FMap.Lo = lo;
  FMap.Hi = hi;
  FMap.Horizontal = FHorizontal;
  FMap.Logarithmic = FLogarithmic;
  FMap.Inverted = FInverted;
  FLabels.clear();
  FLabelStep = 0.0;
}

void TCustomChartAxis::SetPixelExtent(int start, int end)
{
  FMap.Start = start;
  FMap.End = end;
}

void TCustomChartAxis::CalcLabels(double labelSize)
{
  if (FLogarithmic && FIncrement == 0.0) {
    FLabels = TAxisLabels::LogLabelValues(FMap.Lo, FMap.Hi, FLogarithmicBase);
    FLabelStep = 0.0;
    return;
  }
  const int maxLabels = TAxisLabels::MaxLabelCount(FMap.Size(), labelSize, FLabelsSeparation);
  FLabelStep = TAxisLabels::LinearLabelStep(FMap.Range(), maxLabels, FIncrement, FLabelsSeparation != 0);
  FLabels = TAxisLabels::LinearLabelValues(FMap.Lo, FMap.Hi, FLabelStep, FRoundFirstLabel);
}

QString TCustomChartAxis::LabelText(double value) const
{
  return FormatLabel(FAxisValuesFormat, value);
}

QString TCustomChartAxis::FormatLabel(const QString& format, double value, const QLocale& locale)
{
  const TNumberFormat separators{locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString(),
                                 locale.negativeSign().toStdString()};
  return QString::fromStdString(FormatFloat(format.toStdString(), value, separators));
}

std::vector<double> TCustomChartAxis::MinorTickValues() const
{
  FChart->EnsureLayout();
  std::vector<double> ticks;
  if (FMinorTickCount <= 0 || FLabels.empty()) {
    return ticks;
  }
  const int parts = FMinorTickCount + 1;
  const auto addBetween = [&](double upper, double lower) {
    for (int k = 1; k < parts; ++k) {
      const double v = lower + (upper - lower) * k / parts;
      if (v >= FMap.Lo && v <= FMap.Hi) {
        ticks.push_back(v);
      }
    }
  };
  for (std::size_t i = 1; i < FLabels.size(); ++i) {
    addBetween(FLabels[i - 1], FLabels[i]);
  }
  // On a linear axis the minor ticks continue past the outer labels up to the ends.
  if (FLabelStep > 0.0) {
    addBetween(FLabels.front() + FLabelStep, FLabels.front());
    addBetween(FLabels.back(), FLabels.back() - FLabelStep);
  }
  return ticks;
}

double TCustomChartAxis::WorkingMinimum() const
{
  FChart->EnsureLayout();
  return FMap.Lo;
}

double TCustomChartAxis::WorkingMaximum() const
{
  FChart->EnsureLayout();
  return FMap.Hi;
}

int TCustomChartAxis::PixelStart() const
{
  FChart->EnsureLayout();
  return FMap.Start;
}

int TCustomChartAxis::PixelEnd() const
{
  FChart->EnsureLayout();
  return FMap.End;
}

TAxisMap TCustomChartAxis::Map() const
{
  FChart->EnsureLayout();
  return FMap;
}

std::vector<double> TCustomChartAxis::LabelValues() const
{
  FChart->EnsureLayout();
  return FLabels;
}

int TCustomChartAxis::ValueToPixel(double value) const
{
  FChart->EnsureLayout();
  return FMap.ValueToPixel(value);
}

double TCustomChartAxis::PixelToValue(int pixel) const
{
  FChart->EnsureLayout();
  return FMap.PixelToValue(pixel);
}
