#include "plot/MaskChart.h"

#include "chart/TBandSeries.h"
#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"
#include "chart/TMarkSeries.h"
#include "plot/SpectrumChart.h"

#include <cmath>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

double LimitValue(const std::optional<double>& db) { return db ? ChartValueOfDb(*db) : NaN; }

} // namespace

double ChartValueOfDb(double db) { return std::pow(10.0, db / 10); }

std::optional<TChartLimits> MaskLimitsAt(const TToleranceMask& mask, double frequencyHz)
{
    const double line = std::floor((frequencyHz - BandStartHz) / BandStepHz + 0.5);
    if (!(line >= 0 && line < SpectrumLines)) {
        return std::nullopt;
    }
    const TMaskLine& limits = mask.Lines[static_cast<std::size_t>(line)];
    return TChartLimits{LimitValue(limits.LowerDb), LimitValue(limits.UpperDb)};
}

TBandSeries* MakeMaskBand(TChart& chart)
{
    auto* band = new TBandSeries(&chart);
    band->SetSeriesColor(MaskLimitColour);
    band->SetFillColour(MaskFillColour);
    return band;
}

void PlotMaskBand(const TToleranceMask& mask, TBandSeries& band)
{
    band.Clear();
    for (int i = 0; i < SpectrumLines; ++i) {
        const TMaskLine& line = mask.Lines[static_cast<std::size_t>(i)];
        band.AddBand(BandLineFrequencyHz(i), LimitValue(line.LowerDb), LimitValue(line.UpperDb));
    }
}

TMarkSeries* MakeOutsideMarks(TChart& chart)
{
    auto* marks = new TMarkSeries(&chart);
    marks->SetSeriesColor(OutsideMarkColour);
    return marks;
}

void PlotOutsideMarks(const TToleranceMask& mask, const TMaskVerdict& verdict, const TChartSeries& curve,
                      TMarkSeries& marks)
{
    marks.Clear();
    for (int i = 0; i < SpectrumLines; ++i) {
        if (!verdict.OutsideLines.test(static_cast<std::size_t>(i))) {
            continue;
        }
        const double levelDb = verdict.LevelsDb[static_cast<std::size_t>(i)];
        const TMaskLine& line = mask.Lines[static_cast<std::size_t>(i)];
        // Below its lower limit, or else above its upper one.
        const bool low = line.LowerDb && levelDb < *line.LowerDb;
        const double base = LimitValue(low ? line.LowerDb : line.UpperDb);
        const double value = i < curve.Count() ? curve.YValues().Value(i) : ChartValueOfDb(levelDb);
        marks.AddMark(BandLineFrequencyHz(i), value, base);
    }
}

TMaskChartSeries MakeMaskChartSeries(TChart& chart)
{
    TMaskChartSeries series;
    series.Band = MakeMaskBand(chart);
    series.Curve = MakeSeries(&chart, MaskedCurveColour);
    series.Outside = MakeOutsideMarks(chart);
    return series;
}

void PlotUnitAgainstMask(const TToleranceMask& mask, const TSpectrum* spectrum, const TMaskVerdict* verdict,
                         const TMaskChartSeries& series)
{
    PlotMaskBand(mask, *series.Band);
    series.Curve->Clear();
    series.Outside->Clear();
    if (spectrum == nullptr) {
        return;
    }
    PlotSpectrum(*spectrum, *series.Curve);
    if (verdict != nullptr) {
        PlotOutsideMarks(mask, *verdict, *series.Curve, *series.Outside);
    }
}

TChart* MakeMaskChart(QWidget* parent, const TToleranceMask& mask, const TSpectrum& spectrum,
                      const TMaskVerdict& verdict, const QString& name)
{
    TChart* chart = MakeChart(parent);
    chart->Title()->SetText(QStringLiteral("С П Е К Т Р  ") + name);
    chart->BottomAxis()->Title()->SetCaption(QStringLiteral("Гц"));
    PlotUnitAgainstMask(mask, &spectrum, &verdict, MakeMaskChartSeries(*chart));
    return chart;
}
