// The heatmap of 500 spectra drawn into an image of its default size
// (630 x 500 cells plus axes), as tulvo-cli plot --heatmap draws it before
// encoding the PNG. Set TULVO_HEATMAP_PNG to a file name to also save the
// picture there.

#include "plot/TSpectrumHeatmap.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

namespace {
QApplication& App()
{
    static int argc = 1;
    static char name[] = "tulvo_plot_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// Spectrum-like bands: noise on a slope, with a tone whose line moves from
// file to file.
std::vector<TBandValues> MakeBands(int count)
{
    std::vector<TBandValues> bands(static_cast<std::size_t>(count));
    unsigned seed = 12345;
    for (int k = 0; k < count; ++k) {
        for (int i = 0; i < SpectrumLines; ++i) {
            seed = seed * 1103515245u + 12345u;
            const double noise = static_cast<double>((seed >> 16) & 0x7fff) / 32768.0;
            bands[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] =
                static_cast<single>(1e-5 * (0.5 + noise) * std::exp(-i / 200.0));
        }
        bands[static_cast<std::size_t>(k)][static_cast<std::size_t>((40 + k) % SpectrumLines)] = 2e-3f;
    }
    return bands;
}

void BM_Heatmap500Spectra(benchmark::State& state)
{
    App();
    constexpr int count = 500;
    std::vector<QString> names;
    for (int k = 0; k < count; ++k) {
        names.push_back(QStringLiteral("/data/unit%1.spm").arg(k + 1, 3, 10, QLatin1Char('0')));
    }
    const TSpectrumHeatmap heatmap(names, MakeBands(count), state.range(0) != 0);
    const QSize size = TSpectrumHeatmap::DefaultSize(count, 10000);
    QImage image;
    for (auto _ : state) {
        image = heatmap.Draw(size);
        benchmark::DoNotOptimize(image.constBits());
    }
    if (const char* path = std::getenv("TULVO_HEATMAP_PNG")) {
        image.save(QString::fromLocal8Bit(path));
    }
    state.SetLabel(std::to_string(size.width()) + "x" + std::to_string(size.height()) +
                   (state.range(0) != 0 ? ", logarithmic" : ", linear"));
}
BENCHMARK(BM_Heatmap500Spectra)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
} // namespace
