// Cost and size of the results database: recording 10 000 results with their spectra as
// tulvo-cli check --db does (one run, groups committed as the recorder commits them, each durable),
// reading 100 000 back in their order as results and yield do, and the file's bytes per result
// (counter bytes_per_result).

#include "core/platform/FileStatus.h"
#include "core/results/RunRecorder.h"
#include "core/results/SqliteResultStore.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// A folder removed at exit.
class TBenchFolder {
public:
    TBenchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tulvo-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        root_ = pattern;
    }
    ~TBenchFolder() { std::filesystem::remove_all(root_); }
    std::string File(const std::string& name) const { return (root_ / name).string(); }

private:
    std::filesystem::path root_;
};

std::string Hex(std::uint64_t seed)
{
    std::string hex;
    for (int k = 0; k < 64; ++k) {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        hex += "0123456789abcdef"[seed >> 60];
    }
    return hex;
}

const std::string MaskSha = Hex(1);

// A unit as a line checks it: a serial in its file name under a dated folder, a verdict and the
// row's figures, and a spectrum of 732 bytes that differs from unit to unit.
TResultRecord Unit(std::int64_t k)
{
    TResultRecord result;
    result.Operator = "Иванов";
    result.Serial = "SN" + std::to_string(100000 + k);
    result.File = "/srv/line1/2026-12-08/" + result.Serial + ".wav";
    result.FileSha256 = Hex(static_cast<std::uint64_t>(k) + 2);
    result.Verdict = k % 10 == 0 ? "differs" : "ok";
    result.Outside = k % 10 == 0 ? 3 : 0;
    result.WorstHz = 1000 + static_cast<int>(k % 300) * 25;
    result.MarginDb = 1.0 + static_cast<double>(k % 1000) / 1000.0;
    result.LevelDbfs = -12.0 - static_cast<double>(k % 100) / 1000.0;
    result.LevelMarginDb = 2.5;
    result.MaskSha256 = MaskSha;
    result.Spectrum.resize(732);
    for (std::size_t i = 0; i < result.Spectrum.size(); ++i) {
        result.Spectrum[i] = static_cast<char>((static_cast<std::size_t>(k) * 31 + i * 7) & 0xFF);
    }
    return result;
}

TRunRecord Run() { return {"", 0, 0, "station-01", "tulvo-cli check --mask m.csv --db st1.db units/*.wav", "1.0.0"}; }

const TMaskRecord Mask {MaskSha, "m.csv", std::string(12000, 'm')};

void BM_RecordResults(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<TResultRecord> units;
    for (int k = 0; k < count; ++k) {
        units.push_back(Unit(k));
    }
    double bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TBenchFolder folder;
        const std::string path = folder.File("st1.db");
        state.ResumeTiming();
        {
            const auto store = OpenResultStore(path, TStoreAccess::Write);
            TRunRecorder recorder(*store, Run(), {Mask});
            for (const TResultRecord& unit : units) {
                recorder.Record(unit);
            }
            recorder.Finish();
        }
        state.PauseTiming();
        bytes = static_cast<double>(Platform::StatusOf(path)->Size);
        state.ResumeTiming();
    }
    state.counters["bytes_per_result"] = bytes / count;
}
BENCHMARK(BM_RecordResults)->Arg(10000)->Unit(benchmark::kMillisecond);

// The database of count results in runs of 100 over many serials, made once.
const std::string& ReadingDatabase(int count)
{
    static TBenchFolder folder;
    static std::string path;
    if (path.empty()) {
        path = folder.File("line.db");
        const auto store = OpenResultStore(path, TStoreAccess::Write);
        const auto transaction = store->BeginAdd();
        transaction->Add({}, {Mask}, {});
        for (int first = 0; first < count; first += 100) {
            TRunRecord run = Run();
            run.Id = "run-" + std::to_string(100000 + first);
            run.StartMs = 1'800'000'000'000 + first * 1000;
            std::vector<TResultRecord> results;
            for (int k = first; k < first + 100 && k < count; ++k) {
                TResultRecord result = Unit(k);
                result.Id = "result-" + std::to_string(1000000 + k);
                result.RunId = run.Id;
                result.Sequence = k - first + 1;
                result.TimeMs = run.StartMs + (k - first) * 150;
                result.Station = run.Station;
                results.push_back(std::move(result));
            }
            transaction->Add({run}, {}, results);
        }
        transaction->Commit();
    }
    return path;
}

void BM_ReadResultsInOrder(benchmark::State& state)
{
    const std::string& path = ReadingDatabase(static_cast<int>(state.range(0)));
    TResultFilter filter;
    filter.WithSpectra = state.range(1) != 0;
    std::int64_t read = 0;
    for (auto _ : state) {
        const auto store = OpenResultStore(path, TStoreAccess::Read);
        read = 0;
        store->ForEachResult(filter, [&](TResultRecord& result) {
            benchmark::DoNotOptimize(result);
            ++read;
        });
    }
    if (read != state.range(0)) {
        state.SkipWithError("not every result was read");
    }
}
BENCHMARK(BM_ReadResultsInOrder)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond);

} // namespace
