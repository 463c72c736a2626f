#include "plot/SpectrogramChart.h"

#include "chart/TChart.h"
#include "chart/TColourGridSeries.h"
#include "chart/TFastLineSeries.h"
#include "plot/ChartTable.h"
#include "plot/SpectrumChart.h"
#include "plot/Viridis.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The range a level scale spans: the log scale's 1e-6, in dB.
constexpr double ScaleSpanDb = 60;

void FixTimeAxis(TChart& chart)
{
    chart.BottomAxis()->SetMinMax(0, RecordingSpanMs);
    chart.BottomAxis()->Title()->SetCaption(QStringLiteral("мс"));
}

} // namespace

void PlotWaveform(const TSampleBlock& recording, TChartSeries& series)
{
    series.Clear();
    for (int i = 0; i < SampleCount; ++i) {
        series.AddPoint(WaveformTimeMs(i), static_cast<double>(recording.Samples[i]));
    }
}

TChart* MakeWaveformChart(QWidget* parent, const TSampleBlock& recording, const QString& name)
{
    TChart* chart = MakeChart(parent);
    chart->Title()->SetText(QStringLiteral("С И Г Н А Л  ") + name);
    PlotWaveform(recording, *MakeSeries(chart, Qt::red));
    FixTimeAxis(*chart);
    return chart;
}

THeatmapScale FramesScale(const TRecordingFrames& frames) { return THeatmapScale::ForBands(frames.Values, true); }

double LevelDb(double value) { return 10 * std::log10(value); }

TColourGridSeries* PlotSpectrogram(const TRecordingFrames& frames, TChart& chart)
{
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(AveragedFrames) * SpectrumLines);
    for (const TBandValues& frame : frames.Values) {
        values.insert(values.end(), frame.begin(), frame.end());
    }
    const THeatmapScale scale = FramesScale(frames);
    auto* grid = new TColourGridSeries(&chart);
    grid->SetGrid(AveragedFrames, SpectrumLines, std::move(values));
    constexpr double halfLine = BandStepHz / 2.0;
    grid->SetArea(FrameStepMs / 2.0, FrameStartMs(AveragedFrames - 1) + FrameDurationMs - FrameStepMs / 2.0,
                  BandStartHz - halfLine, BandLineFrequencyHz(SpectrumLines - 1) + halfLine);
    grid->SetColour([scale](double value) { return ViridisColour(scale.Index(value)); });

    FixTimeAxis(chart);
    chart.LeftAxis()->SetMinMax(BandStartHz, BandLineFrequencyHz(SpectrumLines - 1));
    // The bar is linear in dB, as the colours are: its colour index straight from the level.
    TChartColourBar& bar = *chart.ColourBar();
    const double top = scale.Hi > 0 ? LevelDb(scale.Hi) : 0;
    bar.SetMinMax(top - ScaleSpanDb, top);
    bar.SetColour([top](double db) {
        const double t = (db - (top - ScaleSpanDb)) / ScaleSpanDb;
        return ViridisColour(static_cast<int>(std::clamp(std::floor(256 * t), 0.0, 255.0)));
    });
    bar.SetCaption(QStringLiteral("дБ"));
    bar.SetVisible(true);
    return grid;
}

TChart* MakeSpectrogramChart(QWidget* parent, const TRecordingFrames& frames, const QString& name)
{
    TChart* chart = MakeChart(parent);
    chart->Title()->SetText(QStringLiteral("С П Е К Т Р О Г Р А М М А  ") + name);
    chart->LeftAxis()->Title()->SetCaption(QStringLiteral("Гц"));
    PlotSpectrogram(frames, *chart);
    return chart;
}

void LayOutTimeCharts(TChart& waveform, TChart& spectrogram, QSize size)
{
    const int top = size.height() / 3;
    waveform.setGeometry(0, 0, size.width(), top);
    spectrogram.setGeometry(0, top, size.width(), size.height() - top);
    const std::array<TChart*, 2> stacked{&waveform, &spectrogram};
    AlignPlotAreas(stacked);
}
