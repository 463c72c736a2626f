// Speed of the batch's two hot loops: filtering one recording with the main
// window's band-pass, and one frame's Transform + Magnitude.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "dsp/TdspFFT.h"
#include "dsp/TdspIIRFilter.h"

namespace {

constexpr int RecordingSamples = 16384;
constexpr int FrameSize = 2048;

// Noise of about 3000 counts RMS from a fixed linear congruential generator.
std::vector<std::int16_t> TestRecording()
{
    std::vector<std::int16_t> samples(RecordingSamples);
    std::uint32_t state = 12345;
    for (auto& s : samples) {
        state = state * 1664525u + 1013904223u;
        s = static_cast<std::int16_t>(static_cast<std::int32_t>(state >> 16) / 6 - 5461);
    }
    return samples;
}

const TdspIIRFilterProperties MainBandpass{fkButterworth, ftBandpass, 8, 1000.0L, 10000.0L, 51200.0L, 0.0L};

void BM_FilterSampleRecording(benchmark::State& state)
{
    const auto input = TestRecording();
    std::vector<single> output(RecordingSamples);
    TdspIIRFilter filter(MainBandpass);
    for (auto _ : state) {
        for (int i = 0; i < RecordingSamples; ++i) {
            output[i] = static_cast<single>(filter.FilterSample(static_cast<extended>(input[i])));
        }
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * RecordingSamples);
}
BENCHMARK(BM_FilterSampleRecording)->Unit(benchmark::kMicrosecond);

void BM_FilterBlockRecording(benchmark::State& state)
{
    const auto input = TestRecording();
    std::vector<single> output(RecordingSamples);
    TdspIIRFilter filter(MainBandpass);
    for (auto _ : state) {
        filter.FilterBlock(input.data(), output.data(), RecordingSamples);
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * RecordingSamples);
}
BENCHMARK(BM_FilterBlockRecording)->Unit(benchmark::kMicrosecond);

// The floor of one filter step run alone: its 2*TapCount additions, each
// waiting for the previous one, at the latency of an extended addition.
void BM_AdditionChainFloor(benchmark::State& state)
{
    const int chain = 2 * TdspIIRFilter(MainBandpass).TapCount();
    extended step = 1e-30L;
    benchmark::DoNotOptimize(step);
    for (auto _ : state) {
        extended t = 0;
        for (int k = 0; k < RecordingSamples; ++k) {
            for (int i = 0; i < chain; ++i) {
                t = t + step;
            }
        }
        benchmark::DoNotOptimize(t);
    }
    state.SetItemsProcessed(state.iterations() * RecordingSamples);
}
BENCHMARK(BM_AdditionChainFloor)->Unit(benchmark::kMicrosecond);

// The throughput floor of the same additions: 2*TapCount per sample, but in
// independent chains, so that they go at the rate the x87 unit can start them
// rather than at its latency.
void BM_AdditionThroughputFloor(benchmark::State& state)
{
    const long additions = 2L * TdspIIRFilter(MainBandpass).TapCount() * RecordingSamples;
    long double total = 0;
    for (auto _ : state) {
        // The step in st(0) added into seven accumulators st(1)..st(7), none of a round waiting
        // for another: written out, since a compiler would keep the accumulators in memory.
        long double result = 0;
        long rounds = additions / 7;
        __asm__ __volatile__("fldz\n\t"
                             "fldz\n\t"
                             "fldz\n\t"
                             "fldz\n\t"
                             "fldz\n\t"
                             "fldz\n\t"
                             "fldz\n\t"
                             "fld1\n\t"
                             "1:\n\t"
                             "fadd %%st, %%st(1)\n\t"
                             "fadd %%st, %%st(2)\n\t"
                             "fadd %%st, %%st(3)\n\t"
                             "fadd %%st, %%st(4)\n\t"
                             "fadd %%st, %%st(5)\n\t"
                             "fadd %%st, %%st(6)\n\t"
                             "fadd %%st, %%st(7)\n\t"
                             "dec %1\n\t"
                             "jnz 1b\n\t"
                             "fstp %%st(0)\n\t"
                             "faddp\n\t"
                             "faddp\n\t"
                             "faddp\n\t"
                             "faddp\n\t"
                             "faddp\n\t"
                             "faddp\n\t"
                             : "=t"(result), "+r"(rounds));
        total += result;
    }
    benchmark::DoNotOptimize(total);
    state.SetItemsProcessed(state.iterations() * RecordingSamples);
}
BENCHMARK(BM_AdditionThroughputFloor)->Unit(benchmark::kMicrosecond);

void BM_TransformMagnitudeFrame(benchmark::State& state)
{
    const auto input = TestRecording();
    TdspFFT fft(TdspFFTProperties{11, FrameSize, fwParzen});
    for (auto _ : state) {
        std::copy_n(input.begin(), FrameSize, fft.InReal());
        std::fill_n(fft.InImag(), FrameSize, single{0});
        fft.Transform();
        fft.Magnitude();
        benchmark::DoNotOptimize(fft.OutReal());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TransformMagnitudeFrame)->Unit(benchmark::kMicrosecond);

} // namespace
