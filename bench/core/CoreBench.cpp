// Cost of the batch analysis per recording: in memory, stage by stage (the
// filter and the FFT are the signal-processing library's share), and through
// files, alone and on worker threads.

#include "core/analysis/TRecordingAnalysis.h"
#include "core/analysis/WavHeader.h"
#include "core/batch/BatchRun.h"
#include "core/files/FolderSync.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>
#include <unistd.h>

namespace {

// A recording of a tone in noise, as a real one might look.
void FillRecording(std::array<std::int16_t, SampleCount>& samples, std::uint32_t seed)
{
    std::uint32_t state = seed;
    for (int i = 0; i < SampleCount; ++i) {
        state = state * 1664525u + 1013904223u;
        const double noise = static_cast<double>(state >> 20) - 2048.0;
        const double tone = 6000.0 * std::sin(2.0 * std::numbers::pi * 3100.0 * i / SampleRateHz);
        samples[i] = static_cast<std::int16_t>(std::lround(tone + noise));
    }
}

std::unique_ptr<TRecordingAnalysis> PreparedAnalysis()
{
    auto analysis = std::make_unique<TRecordingAnalysis>();
    FillRecording(analysis->Recording.Samples, 1);
    return analysis;
}

void BM_AnalyseInMemory(benchmark::State& state)
{
    auto analysis = PreparedAnalysis();
    TBandCodes codes{};
    for (auto _ : state) {
        analysis->FilterRecording();
        analysis->AverageSpectrum();
        std::copy_n(analysis->AvgSpectrum.begin() + FirstBandLine, SpectrumLines, analysis->Band.begin());
        benchmark::DoNotOptimize(QuantiseBand(analysis->Band, codes));
    }
}
BENCHMARK(BM_AnalyseInMemory)->Unit(benchmark::kMicrosecond);

// The filter block alone (library), then the whole filter stage with the
// sum of squares and the normalisation (core).
void BM_FilterBlockOnly(benchmark::State& state)
{
    auto analysis = PreparedAnalysis();
    for (auto _ : state) {
        analysis->BandPass.ResetHistory();
        analysis->BandPass.FilterBlock(analysis->Recording.Samples.data(), analysis->Filtered.data(), SampleCount);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FilterBlockOnly)->Unit(benchmark::kMicrosecond);

void BM_FilterRecording(benchmark::State& state)
{
    auto analysis = PreparedAnalysis();
    for (auto _ : state) {
        analysis->FilterRecording();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FilterRecording)->Unit(benchmark::kMicrosecond);

// The 15 transforms alone (library), then the whole averaging stage (core).
void BM_FifteenTransformsOnly(benchmark::State& state)
{
    auto analysis = PreparedAnalysis();
    analysis->FilterRecording();
    for (auto _ : state) {
        for (int frame = 0; frame < AveragedFrames; ++frame) {
            std::copy_n(analysis->Filtered.begin() + frame * FrameLength / 2, FrameLength, analysis->FrameFft.InReal());
            std::fill_n(analysis->FrameFft.InImag(), FrameLength, 0.0f);
            analysis->RunFFT();
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FifteenTransformsOnly)->Unit(benchmark::kMicrosecond);

void BM_AverageSpectrum(benchmark::State& state)
{
    auto analysis = PreparedAnalysis();
    analysis->FilterRecording();
    for (auto _ : state) {
        analysis->AverageSpectrum();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AverageSpectrum)->Unit(benchmark::kMicrosecond);

// The same stage keeping the 15 frames (show --frames, plot --frames): what asking for them costs.
void BM_AverageSpectrumKeepingFrames(benchmark::State& state)
{
    auto analysis = PreparedAnalysis();
    analysis->SetKeepFrames(true);
    analysis->FilterRecording();
    for (auto _ : state) {
        analysis->AverageSpectrum();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AverageSpectrumKeepingFrames)->Unit(benchmark::kMicrosecond);

// The header check a batch makes of each recording it has read, against the
// analysis of BM_AnalyseInMemory: a conforming header (the whole walk, to the
// data chunk), on the sample block in memory.
void BM_CheckWavHeader(benchmark::State& state)
{
    auto analysis = PreparedAnalysis();
    // clang-format off
    const std::uint8_t header[WavHeaderSize] = {
        'R', 'I', 'F', 'F', 0x24, 0x80, 0, 0, 'W', 'A', 'V', 'E',
        'f', 'm', 't', ' ', 16, 0, 0, 0,
        1, 0, 1, 0, 0x00, 0xC8, 0, 0, 0x00, 0x90, 0x01, 0, 2, 0, 16, 0, // PCM, 1 channel, 51200 Hz, 16 bits
        'd', 'a', 't', 'a', 0x00, 0x80, 0, 0};
    // clang-format on
    std::copy(std::begin(header), std::end(header), analysis->Recording.Header.begin());
    analysis->Recording.FileBytes = SampleBlockFileSize;
    for (auto _ : state) {
        TWavHeaderVerdict verdict = CheckWavHeader(analysis->Recording);
        benchmark::DoNotOptimize(verdict);
    }
    if (!CheckWavHeader(analysis->Recording).Conforms) {
        state.SkipWithError("the header does not conform");
    }
}
BENCHMARK(BM_CheckWavHeader)->Unit(benchmark::kMicrosecond);

// Recordings on disk in a temporary folder, removed at exit.
class TRecordingFolder {
public:
    explicit TRecordingFolder(int count)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tulvo-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        root_ = pattern;
        std::array<std::int16_t, SampleCount> samples{};
        for (int i = 0; i < count; ++i) {
            FillRecording(samples, static_cast<std::uint32_t>(i + 1));
            const std::string path = (root_ / ("rec" + std::to_string(i) + ".wav")).string();
            std::ofstream out(path, std::ios::binary);
            const char header[WavHeaderSize] = {};
            out.write(header, sizeof header);
            out.write(reinterpret_cast<const char*>(samples.data()), sizeof samples);
            Paths.push_back(path);
        }
    }
    ~TRecordingFolder() { std::filesystem::remove_all(root_); }
    std::vector<std::string> Paths;
    const std::filesystem::path& Root() const { return root_; }

private:
    std::filesystem::path root_;
};

void BM_ProcessRecordingThroughFiles(benchmark::State& state)
{
    TRecordingFolder folder(1);
    auto analysis = std::make_unique<TRecordingAnalysis>();
    for (auto _ : state) {
        analysis->ProcessRecording(folder.Paths[0]);
    }
}
BENCHMARK(BM_ProcessRecordingThroughFiles)->Unit(benchmark::kMicrosecond);

// A batch of 100 recordings on 1 or 2 workers; the time is per recording.
void BM_BatchPerRecording(benchmark::State& state)
{
    TRecordingFolder folder(100);
    TBatchOptions options;
    options.Jobs = static_cast<int>(state.range(0));
    for (auto _ : state) {
        RunBatchParallel(folder.Paths, {}, options);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(folder.Paths.size()));
}
BENCHMARK(BM_BatchPerRecording)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The flush that ends a batch run: one SyncFolders after n spectrum files
// were written (replaced, after the first iteration) in one folder; the
// writes are not timed. n = 0 shows what flushing costs with none of the
// batch's own data to write (whatever else the file system holds).
void BM_SyncFoldersAfterWrites(benchmark::State& state)
{
    TRecordingFolder folder(0);
    TSpmFileWriter writer;
    TDataFile file;
    TBandCodes codes{};
    const std::string root = folder.Root().string();
    for (auto _ : state) {
        state.PauseTiming();
        // New bytes every round: a file that already holds its bytes is not written again.
        codes.fill(static_cast<std::int16_t>(codes[0] + 1));
        for (int i = 0; i < state.range(0); ++i) {
            writer.Write(file, root + "/s" + std::to_string(i) + ".spm", 1.0L, codes);
        }
        state.ResumeTiming();
        SyncFolders({root});
    }
}
BENCHMARK(BM_SyncFoldersAfterWrites)->Arg(0)->Arg(500)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor of writing spectrum files: 500 new files of 732 bytes created in a
// new folder (open with O_CREAT | O_EXCL, one write, close), nothing more; the
// time is per file. The folders stay until the end, so that no creation runs
// into the inodes freed by deleting earlier ones.
void BM_CreateFileFloor(benchmark::State& state)
{
    TRecordingFolder folder(0);
    const std::array<std::uint8_t, SpectrumFileSize> image{};
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::filesystem::path sub = folder.Root() / std::to_string(round++);
        std::filesystem::create_directory(sub);
        state.ResumeTiming();
        for (int i = 0; i < 500; ++i) {
            std::string name(1, 's');
            name += std::to_string(i);
            name += ".spm";
            const std::string path = (sub / name).string();
            const int handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (handle < 0 || ::write(handle, image.data(), image.size()) != static_cast<ssize_t>(image.size())) {
                std::abort();
            }
            ::close(handle);
        }
    }
    state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(BM_CreateFileFloor)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
