// Full repaints of charts into a QImage: the waveform view (16384 points at
// 630 x 400) and the six-spectrum view (six charts of 361 points).
// Set TULVO_CHART_PNG to a folder to also save the pictures there.

#include "chart/TChart.h"
#include "chart/TFastLineSeries.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {
QApplication& App()
{
    static int argc = 1;
    static char name[] = "chart_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// A waveform-like signal: a decaying tone with noise, in 16-bit sample units.
std::unique_ptr<TChart> MakeWaveformChart()
{
    App();
    auto chart = std::make_unique<TChart>();
    chart->resize(630, 400);
    chart->Title()->SetText(QStringLiteral("С И Г Н А Л  /data/recording.wav"));
    chart->BottomAxis()->Title()->SetCaption(QStringLiteral("мс"));
    chart->LeftAxis()->SetAxisValuesFormat(QStringLiteral("#,##0.#####"));
    auto* series = new TFastLineSeries(chart.get());
    series->SetSeriesColor(Qt::red);
    unsigned seed = 12345;
    for (int i = 0; i < 16384; ++i) {
        seed = seed * 1103515245u + 12345u;
        const double noise = static_cast<double>((seed >> 16) & 0x7fff) / 32768.0 - 0.5;
        const double tone = std::sin(i * 0.3) * 12000.0 * std::exp(-i / 6000.0);
        series->AddPoint(i * 0.01953125, std::round(tone + noise * 4000.0));
    }
    return chart;
}

// A spectrum-like curve of 361 lines from 1000 to 10000 Hz.
std::unique_ptr<TChart> MakeSpectrumChart(int index, int width, int height)
{
    App();
    auto chart = std::make_unique<TChart>();
    chart->resize(width, height);
    chart->Title()->SetText(QStringLiteral("С П Е К Т Р  /data/spectrum%1.spm").arg(index + 1));
    chart->BottomAxis()->Title()->SetCaption(QStringLiteral("Гц"));
    chart->LeftAxis()->SetAxisValuesFormat(QStringLiteral("#,##0.#####"));
    auto* series = new TFastLineSeries(chart.get());
    static const QColor colours[] = {QColor(255, 0, 0),  QColor(0, 128, 0), QColor(0, 0, 255),
                                     QColor(128, 0, 64), QColor(0, 0, 0),   QColor(128, 64, 0)};
    series->SetSeriesColor(colours[index % 6]);
    for (int i = 0; i < 361; ++i) {
        const double f = 1000.0 + 25.0 * i;
        const double peak = std::exp(-std::pow((f - 2500.0 - 700.0 * index) / 300.0, 2.0));
        series->AddPoint(f, 0.002 + 0.05 * peak + 0.004 * std::sin(i * 0.7 + index));
    }
    return chart;
}

void RenderInto(TChart& chart, QImage& image, QPoint at = QPoint(0, 0))
{
    QPainter painter(&image);
    painter.translate(at);
    chart.Invalidate();
    chart.PaintTo(painter);
}

void SaveIfAsked(const QImage& image, const char* fileName)
{
    const QByteArray folder = qgetenv("TULVO_CHART_PNG");
    if (!folder.isEmpty()) {
        image.save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(fileName));
    }
}

void BM_RepaintWaveform(benchmark::State& state)
{
    auto chart = MakeWaveformChart();
    QImage image(630, 400, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        RenderInto(*chart, image);
        benchmark::ClobberMemory();
    }
    SaveIfAsked(image, "chart_waveform.png");
}
BENCHMARK(BM_RepaintWaveform)->Unit(benchmark::kMillisecond);

void BM_RepaintSixSpectra(benchmark::State& state)
{
    std::vector<std::unique_ptr<TChart>> charts;
    for (int i = 0; i < 6; ++i) {
        charts.push_back(MakeSpectrumChart(i, 315, 119));
    }
    QImage image(630, 360, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    for (auto _ : state) {
        for (int i = 0; i < 6; ++i) {
            RenderInto(*charts[static_cast<std::size_t>(i)], image, QPoint((i % 2) * 315, (i / 2) * 120));
        }
        benchmark::ClobberMemory();
    }
    SaveIfAsked(image, "chart_six.png");
}
BENCHMARK(BM_RepaintSixSpectra)->Unit(benchmark::kMillisecond);

void BM_FillWaveformSeries(benchmark::State& state)
{
    for (auto _ : state) {
        auto chart = MakeWaveformChart();
        benchmark::DoNotOptimize(chart.get());
    }
}
BENCHMARK(BM_FillWaveformSeries)->Unit(benchmark::kMillisecond);
} // namespace
