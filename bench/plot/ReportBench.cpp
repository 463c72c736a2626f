// tulvo-cli report over 500 units of one product against a mask of 30 good ones, 25 of the 500
// faulty: read and checked on two threads, 20 charts and the heatmap drawn, the document written
// to a file, as the drawing helper does it in its process (its application made once, as the
// helper makes it once). Arg 0: spectrum files; 1: recordings, analysed in memory. The counter
// "bytes" is the report's size. Set TULVO_REPORT_HTML to a file name to keep the last report.

#include "cli/plot/ReportDrawing.h"
#include "core/analysis/TRecordingAnalysis.h"
#include "core/files/FileHandles.h"
#include "core/qc/MaskFile.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "tulvo_report_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// The 44-byte header of a recording as the analysis expects it.
std::array<char, WavHeaderSize> WavHeader()
{
    std::array<char, WavHeaderSize> header{};
    const auto put = [&](int at, std::uint32_t value, int bytes) {
        for (int k = 0; k < bytes; ++k) {
            header[static_cast<std::size_t>(at + k)] = static_cast<char>((value >> (8 * k)) & 0xFF);
        }
    };
    const std::uint32_t data = 2 * SampleCount;
    std::copy_n("RIFF", 4, header.begin());
    put(4, 36 + data, 4);
    std::copy_n("WAVEfmt ", 8, header.begin() + 8);
    put(16, 16, 4);
    put(20, 1, 2); // PCM
    put(22, 1, 2); // one channel
    put(24, SampleRateHz, 4);
    put(28, 2 * SampleRateHz, 4);
    put(32, 2, 2);
    put(34, 16, 2);
    std::copy_n("data", 4, header.begin() + 36);
    put(40, data, 4);
    return header;
}

// A unit of one product: two resonances in noise, each a little off from unit to unit; a
// faulty unit has its upper resonance 800 Hz higher.
void FillUnit(TSampleBlock& block, std::uint32_t seed, bool faulty)
{
    std::uint32_t state = seed * 2654435761u;
    const double lowerHz = 2400.0 + static_cast<double>(seed % 11) - 5;
    const double upperHz = (faulty ? 7600.0 : 6800.0) + static_cast<double>(seed % 7) - 3;
    for (int i = 0; i < SampleCount; ++i) {
        state = state * 1664525u + 1013904223u;
        const double noise = (static_cast<double>(state >> 20) - 2048.0) * 1.2;
        const double t = static_cast<double>(i) / SampleRateHz;
        block.Samples[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(
            std::lround(6000.0 * std::sin(2.0 * std::numbers::pi * lowerHz * t) +
                        3000.0 * std::sin(2.0 * std::numbers::pi * upperHz * t) + noise));
    }
}

// 30 good units (their mask learned) and 500 units to report, each as a recording and a
// spectrum file; removed at exit.
class TProductFolder {
public:
    TProductFolder()
    {
        root_ = std::filesystem::temp_directory_path() / ("tulvo-report-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root_);
        TRecordingAnalysis analysis;
        TMaskLearner learner;
        for (std::uint32_t k = 0; k < 530; ++k) {
            const bool faulty = k >= 30 && k % 20 == 7;
            FillUnit(analysis.Recording, k + 1, faulty);
            analysis.FilterRecording();
            analysis.AverageSpectrum();
            std::copy_n(analysis.AvgSpectrum.begin() + FirstBandLine, SpectrumLines, analysis.Band.begin());
            const extended scale = QuantiseBand(analysis.Band, analysis.BandCodes);
            const auto image = SpectrumFileImage(scale, analysis.BandCodes);
            if (k < 30) {
                TSpectrum spectrum{scale, analysis.BandCodes, {}};
                BandFromCodes(spectrum.Codes, spectrum.Scale, spectrum.Values);
                learner.Add(spectrum);
                continue;
            }
            const std::string name = (root_ / ("unit" + std::to_string(k - 29))).string();
            std::ofstream(name + ".spm", std::ios::binary)
                .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
            std::ofstream wav(name + ".wav", std::ios::binary);
            wav.write(WavHeader().data(), WavHeaderSize);
            wav.write(reinterpret_cast<const char*>(analysis.Recording.Samples.data()),
                      sizeof analysis.Recording.Samples);
            Spectra.push_back(name + ".spm");
            Recordings.push_back(name + ".wav");
        }
        Mask = (root_ / "mask.csv").string();
        std::ofstream(Mask, std::ios::binary) << MaskFileText(learner.Learn({}));
        Report = (root_ / "report.html").string();
    }
    ~TProductFolder() { std::filesystem::remove_all(root_); }

    std::vector<std::string> Spectra;
    std::vector<std::string> Recordings;
    std::string Mask;
    std::string Report;

private:
    std::filesystem::path root_;
};

void BM_Report500Units20Charts(benchmark::State& state)
{
    App();
    const TProductFolder folder;
    std::vector<std::string> words{"--mask", folder.Mask, "-o", folder.Report, "--jobs", "2"};
    const auto& units = state.range(0) == 0 ? folder.Spectra : folder.Recordings;
    words.insert(words.end(), units.begin(), units.end());
    TToolContext context;
    context.Err = CreateOrTruncate(folder.Report + ".err");
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunReportHelper(words, context));
    }
    Platform::CloseFileQuietly(context.Err);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(folder.Report));
    state.SetLabel(state.range(0) == 0 ? "spectrum files" : "recordings");
    if (const char* keep = std::getenv("TULVO_REPORT_HTML")) {
        std::filesystem::copy_file(folder.Report, keep, std::filesystem::copy_options::overwrite_existing);
    }
}
BENCHMARK(BM_Report500Units20Charts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
