#include "chart/TChartAxis.h"

#include "chart/EChartError.h"
#include "chart/TChart.h"
#include "chart/TChartSeries.h"
#include "chart/axis/TAxisLabels.h"
#include "chart/axis/TNumberFormat.h"

#include <cmath>
#include <limits>
#include <utility>

namespace {
constexpr double MinZoomRange = 1e-10;
} // namespace

TChartAxis::TChartAxis(TChart* chart, bool horizontal) : chart_(chart), horizontal_(horizontal), title_(chart)
{
    map_.Horizontal = horizontal;
}

void TChartAxis::Changed() { chart_->Invalidate(); }

void TChartAxis::SetAutomatic(bool automatic)
{
    automatic_ = automatic;
    automaticMinimum_ = automatic;
    automaticMaximum_ = automatic;
    Changed();
}

void TChartAxis::SetAutomaticMinimum(bool automatic)
{
    automaticMinimum_ = automatic;
    Changed();
}

void TChartAxis::SetAutomaticMaximum(bool automatic)
{
    automaticMaximum_ = automatic;
    Changed();
}

void TChartAxis::SetMinimum(double value)
{
    minimum_ = value;
    Changed();
}

void TChartAxis::SetMaximum(double value)
{
    maximum_ = value;
    Changed();
}

void TChartAxis::SetLogarithmic(bool logarithmic)
{
    if (logarithmic == logarithmic_) {
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
    logarithmic_ = logarithmic;
    Changed();
}

void TChartAxis::SetLogarithmicBase(double base)
{
    logarithmicBase_ = base;
    Changed();
}

void TChartAxis::SetIncrement(double increment)
{
    increment_ = increment;
    Changed();
}

void TChartAxis::SetAxisValuesFormat(const QString& format)
{
    axisValuesFormat_ = format;
    Changed();
}

void TChartAxis::SetLabelsSeparation(int percent)
{
    labelsSeparation_ = percent;
    Changed();
}

void TChartAxis::SetRoundFirstLabel(bool round)
{
    roundFirstLabel_ = round;
    Changed();
}

void TChartAxis::SetInverted(bool inverted)
{
    inverted_ = inverted;
    Changed();
}

void TChartAxis::SetTickLength(int pixels)
{
    tickLength_ = pixels;
    Changed();
}

void TChartAxis::SetMinorTickLength(int pixels)
{
    minorTickLength_ = pixels;
    Changed();
}

void TChartAxis::SetMinorTickCount(int count)
{
    minorTickCount_ = count;
    Changed();
}

void TChartAxis::SetGridVisible(bool visible)
{
    gridVisible_ = visible;
    Changed();
}

void TChartAxis::SetGridColor(const QColor& color)
{
    gridColor_ = color;
    Changed();
}

void TChartAxis::SetAxisColor(const QColor& color)
{
    axisColor_ = color;
    Changed();
}

void TChartAxis::SetMinMax(double a, double b)
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
    automatic_ = false;
    automaticMinimum_ = false;
    automaticMaximum_ = false;
    minimum_ = a;
    maximum_ = b;
    Changed();
}

bool TChartAxis::IsDateTime() const
{
    for (int i = 0; i < chart_->SeriesCount(); ++i) {
        const TChartSeries* series = chart_->Series(i);
        if (series->HorizAxis() == this && series->XValues().DateTime()) {
            return true;
        }
        if (series->VertAxis() == this && series->YValues().DateTime()) {
            return true;
        }
    }
    return false;
}

std::pair<double, double> TChartAxis::ComputeRange() const
{
    double lo = minimum_;
    double hi = maximum_;
    const bool autoLo = automatic_ || automaticMinimum_;
    const bool autoHi = automatic_ || automaticMaximum_;
    if (!autoLo && !autoHi) {
        return {lo, hi};
    }
    bool any = false;
    double dataLo = 0.0;
    double dataHi = 0.0;
    for (int i = 0; i < chart_->SeriesCount(); ++i) {
        const TChartSeries* series = chart_->Series(i);
        if (!series->Active() || series->Backdrop() || series->Count() == 0) {
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

void TChartAxis::CalcRange()
{
    const auto [lo, hi] = ComputeRange();
    map_.Lo = lo;
    map_.Hi = hi;
    map_.Horizontal = horizontal_;
    map_.Logarithmic = logarithmic_;
    map_.Inverted = inverted_;
    labels_.clear();
    labelStep_ = 0.0;
}

void TChartAxis::SetPixelExtent(int start, int end)
{
    map_.Start = start;
    map_.End = end;
}

void TChartAxis::CalcLabels(double labelSize)
{
    if (logarithmic_ && increment_ == 0.0) {
        labels_ = TAxisLabels::LogLabelValues(map_.Lo, map_.Hi, logarithmicBase_);
        labelStep_ = 0.0;
        return;
    }
    const int maxLabels = TAxisLabels::MaxLabelCount(map_.Size(), labelSize, labelsSeparation_);
    labelStep_ = TAxisLabels::LinearLabelStep(map_.Range(), maxLabels, increment_, labelsSeparation_ != 0);
    labels_ = TAxisLabels::LinearLabelValues(map_.Lo, map_.Hi, labelStep_, roundFirstLabel_);
}

QString TChartAxis::LabelText(double value) const
{
    if (!logarithmic_) {
        return FormatLabel(axisValuesFormat_, value);
    }
    const QLocale locale;
    const TNumberFormat separators{locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString(),
                                   locale.negativeSign().toStdString()};
    return QString::fromStdString(FormatLogLabel(axisValuesFormat_.toStdString(), value, separators));
}

QString TChartAxis::FormatLabel(const QString& format, double value, const QLocale& locale)
{
    const TNumberFormat separators{locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString(),
                                   locale.negativeSign().toStdString()};
    return QString::fromStdString(FormatFloat(format.toStdString(), value, separators));
}

std::vector<double> TChartAxis::MinorTickValues() const
{
    chart_->EnsureLayout();
    std::vector<double> ticks;
    if (minorTickCount_ <= 0 || labels_.empty()) {
        return ticks;
    }
    const int parts = minorTickCount_ + 1;
    const auto addBetween = [&](double upper, double lower) {
        for (int k = 1; k < parts; ++k) {
            const double v = lower + (upper - lower) * k / parts;
            if (v >= map_.Lo && v <= map_.Hi) {
                ticks.push_back(v);
            }
        }
    };
    for (std::size_t i = 1; i < labels_.size(); ++i) {
        addBetween(labels_[i - 1], labels_[i]);
    }
    // On a linear axis the minor ticks continue past the outer labels up to the ends.
    if (labelStep_ > 0.0) {
        addBetween(labels_.front() + labelStep_, labels_.front());
        addBetween(labels_.back(), labels_.back() - labelStep_);
    }
    return ticks;
}

double TChartAxis::WorkingMinimum() const
{
    chart_->EnsureLayout();
    return map_.Lo;
}

double TChartAxis::WorkingMaximum() const
{
    chart_->EnsureLayout();
    return map_.Hi;
}

int TChartAxis::PixelStart() const
{
    chart_->EnsureLayout();
    return map_.Start;
}

int TChartAxis::PixelEnd() const
{
    chart_->EnsureLayout();
    return map_.End;
}

TAxisMap TChartAxis::Map() const
{
    chart_->EnsureLayout();
    return map_;
}

std::vector<double> TChartAxis::LabelValues() const
{
    chart_->EnsureLayout();
    return labels_;
}

int TChartAxis::ValueToPixel(double value) const
{
    chart_->EnsureLayout();
    return map_.ValueToPixel(value);
}

double TChartAxis::PixelToValue(int pixel) const
{
    chart_->EnsureLayout();
    return map_.PixelToValue(pixel);
}
