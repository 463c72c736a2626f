#include "plot/SpectrumChart.h"

#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"

#include <algorithm>

TChart* MakeChart(QWidget* parent)
{
    auto* chart = new TChart(parent);
    chart->SetColor(Qt::white);
    chart->BackWall()->SetBrush(QBrush(Qt::white, Qt::NoBrush));
    chart->Title()->SetText(QString());
    chart->LeftAxis()->SetAxisValuesFormat(QStringLiteral("#,##0.#####"));
    return chart;
}

TFastLineSeries* MakeSeries(TChart* chart, const QColor& colour)
{
    auto* series = new TFastLineSeries(chart);
    series->SetSeriesColor(colour);
    return series;
}

void PlotBand(const TBandValues& band, TChartSeries& series)
{
    series.Clear();
    const double fill = FillValue(band);
    const double zeroLine = static_cast<double>(static_cast<extended>(fill) / 2);
    for (int i = 0; i < SpectrumLines; ++i) {
        const single value = band[i];
        series.AddPoint(BandLineFrequencyHz(i), value != 0 ? static_cast<double>(value) : zeroLine);
    }
}

void PlotSpectrum(const TSpectrum& spectrum, TChartSeries& series) { PlotBand(spectrum.Values, series); }

bool SwitchLogAxis(TChart& chart)
{
    TChartAxis& axis = *chart.LeftAxis();
    if (!axis.Logarithmic()) {
        chart.UndoZoom();
        chart.Redraw();
    }
    axis.SetLogarithmic(!axis.Logarithmic());
    return axis.Logarithmic();
}

QString LogAxisCaption(bool logarithmic)
{
    return logarithmic ? QStringLiteral("Линейный") : QStringLiteral("Логарифм.");
}

void CopyOverlay(const TChartSeries& source, TChartSeries& overlay)
{
    const int count = std::min(source.Count(), SpectrumLines);
    for (int i = 0; i < count; ++i)
        overlay.AddPoint(BandLineFrequencyHz(i), source.YValues().Value(i));
}
