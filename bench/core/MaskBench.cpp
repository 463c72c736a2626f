// Cost of tolerance masks: checking 10 000 spectrum files against a mask and
// learning a mask from 1 000, as tulvo-cli check and mask do it on one
// thread (reading each file, its levels, the verdict and its table row; the
// levels, medians and the mask's text), and masks from recordings, of their
// averages and of their max-hold spectra, whose cost is the analysis's own.

#include "core/analysis/TRecordingAnalysis.h"
#include "core/batch/UnitInput.h"
#include "core/qc/CheckTable.h"
#include "core/qc/MaskFile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>
#include <unistd.h>

namespace {

// A recording of two tones in noise, each unit a little different.
void FillUnit(std::array<std::int16_t, SampleCount>& samples, std::uint32_t seed)
{
    std::uint32_t state = seed;
    const double lowerHz = 2400.0 + static_cast<double>(seed % 7);
    for (int i = 0; i < SampleCount; ++i) {
        state = state * 1664525u + 1013904223u;
        const double noise = static_cast<double>(state >> 20) - 2048.0;
        const double t = static_cast<double>(i) / SampleRateHz;
        const double tones = 6000.0 * std::sin(2.0 * std::numbers::pi * lowerHz * t) +
                             2500.0 * std::sin(2.0 * std::numbers::pi * 6800.0 * t);
        samples[i] = static_cast<std::int16_t>(std::lround(tones + noise));
    }
}

// A folder of count spectrum files (unitN.spm), cycling through 50 spectra
// of different units, and as many recordings (unitN.wav) when asked;
// removed at exit.
class TUnitFolder {
public:
    TUnitFolder(int count, bool recordings)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tulvo-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        root_ = pattern;
        auto analysis = std::make_unique<TRecordingAnalysis>();
        std::vector<std::array<std::uint8_t, SpectrumFileSize>> images;
        for (int i = 0; i < std::min(count, 50); ++i) {
            FillUnit(analysis->Recording.Samples, static_cast<std::uint32_t>(i + 1));
            analysis->FilterRecording();
            analysis->AverageSpectrum();
            std::copy_n(analysis->AvgSpectrum.begin() + FirstBandLine, SpectrumLines, analysis->Band.begin());
            const extended scale = QuantiseBand(analysis->Band, analysis->BandCodes);
            images.push_back(SpectrumFileImage(scale, analysis->BandCodes));
            if (recordings) {
                std::ofstream out((root_ / ("unit" + std::to_string(i) + ".wav")).string(), std::ios::binary);
                const char header[WavHeaderSize] = {};
                out.write(header, sizeof header);
                out.write(reinterpret_cast<const char*>(analysis->Recording.Samples.data()),
                          sizeof analysis->Recording.Samples);
                Recordings.push_back((root_ / ("unit" + std::to_string(i) + ".wav")).string());
            }
        }
        for (int i = 0; i < count; ++i) {
            Spectra.push_back((root_ / ("unit" + std::to_string(i) + ".spm")).string());
            const auto& image = images[static_cast<std::size_t>(i) % images.size()];
            std::ofstream(Spectra.back(), std::ios::binary)
                .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        }
    }
    ~TUnitFolder() { std::filesystem::remove_all(root_); }

    std::vector<std::string> Spectra;
    std::vector<std::string> Recordings;

private:
    std::filesystem::path root_;
};

TToleranceMask LearnFrom(const std::vector<std::string>& units, TSpectrumKind kind = TSpectrumKind::Average)
{
    TMaskLearner learner(kind);
    TUnitReadOptions options;
    options.Kind = kind;
    ReadUnits(units, options, 1, [&](std::size_t, TUnitOutcome& outcome) {
        learner.Add(outcome.Unit->Spectrum.Codes, outcome.Unit->LevelsDb, outcome.Unit->LevelDbfs);
    });
    TMaskOptions maskOptions;
    maskOptions.Kind = kind;
    return learner.Learn(maskOptions);
}

// check of 10 000 spectrum files on one thread; the time is for all of them.
void BM_CheckTenThousandSpectrumFiles(benchmark::State& state)
{
    const TUnitFolder folder(10000, false);
    const TToleranceMask mask =
        LearnFrom(std::vector<std::string>(folder.Spectra.begin(), folder.Spectra.begin() + 50));
    for (auto _ : state) {
        std::size_t bytes = CheckTableHeaderLine().size();
        ReadUnits(folder.Spectra, {}, 1, [&](std::size_t index, TUnitOutcome& outcome) {
            const TMaskVerdict verdict = CheckUnit(mask, outcome.Unit->LevelsDb, outcome.Unit->LevelDbfs);
            bytes += CheckTableRow(folder.Spectra[index], verdict).size();
        });
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_CheckTenThousandSpectrumFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor of that check: reading the 10 000 files (ReadSpectrum), nothing more.
void BM_ReadTenThousandSpectrumFiles(benchmark::State& state)
{
    const TUnitFolder folder(10000, false);
    for (auto _ : state) {
        extended sum = 0;
        for (const auto& path : folder.Spectra) {
            sum += ReadSpectrum(path).Scale;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadTenThousandSpectrumFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// mask from 1 000 spectrum files on one thread, its text included.
void BM_MaskFromThousandSpectrumFiles(benchmark::State& state)
{
    const TUnitFolder folder(1000, false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(MaskFileText(LearnFrom(folder.Spectra)).size());
    }
}
BENCHMARK(BM_MaskFromThousandSpectrumFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// mask from 50 recordings on one thread, each analysed in memory; the time
// is per recording.
void BM_MaskFromRecordingsPerRecording(benchmark::State& state)
{
    const TUnitFolder folder(50, true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(LearnFrom(folder.Recordings).Units);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(folder.Recordings.size()));
}
BENCHMARK(BM_MaskFromRecordingsPerRecording)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same of max-hold spectra: each recording's frames kept, their maximum
// per line quantised.
void BM_MaxHoldMaskFromRecordingsPerRecording(benchmark::State& state)
{
    const TUnitFolder folder(50, true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(LearnFrom(folder.Recordings, TSpectrumKind::MaxHold).Units);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(folder.Recordings.size()));
}
BENCHMARK(BM_MaxHoldMaskFromRecordingsPerRecording)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
