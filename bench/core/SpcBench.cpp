// Cost of the control-chart and capability maths alone: a chart of 100 000 values (points, limits
// from the first 20 points, every rule of a set) and the capability of 361 lines of 10 000 values
// each, ranked. The commands add reading the store and writing the table on top. And the false
// alarms of the Western Electric rules on stable lines, as counters.

#include "core/base/Statistics.h"
#include "core/spc/Capability.h"
#include "core/spc/ControlRules.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

namespace {

// count normal values around -20 with a spread of 0.3, drifting upwards by 1e-5 a value.
std::vector<double> Line(std::size_t count, std::uint64_t seed)
{
    std::mt19937_64 generator(seed);
    std::normal_distribution<double> normal(-20, 0.3);
    std::vector<double> values(count);
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = normal(generator) + 1e-5 * static_cast<double>(i);
    }
    return values;
}

// A chart of 100 000 values in subgroups of range(0), with the rule set range(1) (1 Western
// Electric, 2 Nelson).
void BM_ControlChart(benchmark::State& state)
{
    const std::vector<double> values = Line(100000, 1);
    const int subgroupSize = static_cast<int>(state.range(0));
    const TRuleSet rules = state.range(1) == 1 ? TRuleSet::WesternElectric : TRuleSet::Nelson;
    std::size_t signalling = 0;
    for (auto _ : state) {
        const TChartPoints points = ChartPoints(values, subgroupSize);
        const TControlLimits limits = BaselineLimits(points, {0, 20});
        const std::vector<TSignals> signals = ChartSignals(points, limits, rules);
        signalling =
            static_cast<std::size_t>(std::count_if(signals.begin(), signals.end(), [](TSignals s) { return s != 0; }));
        benchmark::DoNotOptimize(signals.data());
    }
    state.counters["signalling points"] = static_cast<double>(signalling);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_ControlChart)->Args({5, 1})->Args({1, 1})->Args({5, 2})->Args({1, 2})->Unit(benchmark::kMillisecond);

// The capability of 361 lines of 10 000 values each against limits 1 dB either side of their
// centre, ranked weakest first.
void BM_Capability(benchmark::State& state)
{
    std::vector<std::vector<double>> lines;
    for (int line = 0; line < 361; ++line) {
        lines.push_back(Line(10000, static_cast<std::uint64_t>(line) + 2));
    }
    std::vector<TCapability> capabilities(lines.size());
    std::vector<std::size_t> order(lines.size());
    for (auto _ : state) {
        for (std::size_t line = 0; line < lines.size(); ++line) {
            capabilities[line] = MeasureCapability(lines[line], {-21, -19, -20});
        }
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return RanksBefore(capabilities[a].Ppk, static_cast<double>(a), capabilities[b].Ppk,
                               static_cast<double>(b));
        });
        benchmark::DoNotOptimize(order.data());
    }
    state.SetItemsProcessed(state.iterations() * 361 * 10000);
}
BENCHMARK(BM_Capability)->Unit(benchmark::kMillisecond);

// Stable lines of normal values (mean 0, sigma 1) in subgroups of range(0), against the known
// limits -/+ 3 / sqrt(N) of their points: the units up to the first point where a Western Electric
// rule fires, over 10 000 lines (a fixed seed). The textbook's average run length of the four rules
// with known limits is 91.75 points (Champ and Woodall, Technometrics 29, 1987), 91.75 N units; the
// median is shorter, the run lengths being skewed.
void BM_FalseAlarms(benchmark::State& state)
{
    constexpr int Lines = 10000;
    constexpr std::size_t ChunkPoints = 200;
    const int n = static_cast<int>(state.range(0));
    const double limit = 3 / std::sqrt(n);
    const TControlLimits limits{TLimitsStatus::Set, 0, -limit, limit, 1, 0, std::numeric_limits<double>::infinity()};
    std::vector<double> units;
    for (auto _ : state) {
        std::mt19937_64 generator(38);
        std::normal_distribution<double> normal;
        units.clear();
        for (int line = 0; line < Lines; ++line) {
            std::vector<double> values;
            std::vector<TSignals> signals;
            std::size_t first = 0;
            while (first == signals.size()) { // more points until one signals
                values.resize(values.size() + ChunkPoints * static_cast<std::size_t>(n));
                std::generate(values.end() - static_cast<std::ptrdiff_t>(ChunkPoints) * n, values.end(),
                              [&] { return normal(generator); });
                signals = ChartSignals(ChartPoints(values, n), limits, TRuleSet::WesternElectric);
                first = static_cast<std::size_t>(std::find_if(signals.begin() + static_cast<std::ptrdiff_t>(first),
                                                              signals.end(), [](TSignals s) { return s != 0; }) -
                                                 signals.begin());
            }
            units.push_back(static_cast<double>((first + 1) * static_cast<std::size_t>(n)));
        }
    }
    state.counters["mean units"] = std::accumulate(units.begin(), units.end(), 0.0) / Lines;
    state.counters["median units"] = Median(units);
    state.counters["textbook mean units"] = 91.75 * n;
}
BENCHMARK(BM_FalseAlarms)->Arg(1)->Arg(5)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
