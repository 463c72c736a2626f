#include "dsp/dspIIRBlock.h"

#include <array>
#include <cmath>
#include <utility>

namespace dspIIRBlock {
namespace {

// Largest gain for which g*x, |x| <= 32768, stays far inside the double range.
constexpr extended MaxKernelGain = 0x1p990L;

// Two samples per step. Sample A's window is in[1..N], sample B's in[2..N+1];
// both new scaled inputs are stored first, A's output before B's last tap.
// With SkipOdd, the taps with a zero feed-forward coefficient (odd i) add only
// the feedback product.
template <int N, bool SkipOdd>
int PairKernel(const std::int16_t* input, single* output, int count, TSplit* in, TSplit* out,
               const TBlockCoefficients& c)
{
    const extended g = c.GainScale;
    const double* ff = c.FeedForward;
    const TSplit* fb = c.FeedBack;
    int k = 0;
    for (; k + 1 < count; k += 2) {
        extended tA = static_cast<extended>(input[k]) * g;
        extended tB = static_cast<extended>(input[k + 1]) * g;
        const extended xA = tA;
        bool exact = Split(tA, in[N + 1]);
        exact &= Split(tB, in[N + 2]);
        const TSplit* ia = in + 1;
        const TSplit* oa = out + 1;
#pragma GCC unroll 16
        for (int i = 0; i < N - 1; ++i) {
            const extended f = Join(fb[i]);
            if (!(SkipOdd && (i & 1) != 0)) {
                tA = Join(ia[i]) * static_cast<extended>(ff[i]) + tA;
                tB = Join(ia[i + 1]) * static_cast<extended>(ff[i]) + tB;
            }
            tA = tA + Join(oa[i]) * f;
            tB = tB + Join(oa[i + 1]) * f;
        }
        const extended f = Join(fb[N - 1]);
        if (!(SkipOdd && ((N - 1) & 1) != 0)) {
            tA = Join(ia[N - 1]) * static_cast<extended>(ff[N - 1]) + tA;
            tB = xA * static_cast<extended>(ff[N - 1]) + tB;
        }
        tA = tA + Join(oa[N - 1]) * f;
        exact &= Split(tA, out[N + 1]);
        tB = tB + tA * f;
        exact &= Split(tB, out[N + 2]);
        if (!exact) {
            return k;
        }
        output[k] = static_cast<single>(tA);
        output[k + 1] = static_cast<single>(tB);
        in += 2;
        out += 2;
    }
    return k;
}

constexpr int MaxKernelTaps = 16;

template <bool SkipOdd, std::size_t... I>
constexpr std::array<TBlockKernel, MaxKernelTaps> KernelTable(std::index_sequence<I...>)
{
    return {&PairKernel<static_cast<int>(I) + 1, SkipOdd>...};
}

constexpr auto AllTapKernels = KernelTable<false>(std::make_index_sequence<MaxKernelTaps>{});
constexpr auto EvenTapKernels = KernelTable<true>(std::make_index_sequence<MaxKernelTaps>{});

} // namespace

TBlockKernel ChooseKernel(int tapCount, extended gainScale, const extended* feedForward, const extended* feedBack)
{
    if (tapCount < 1 || tapCount > MaxKernelTaps || !(gainScale > 0) || !(gainScale < MaxKernelGain)) {
        return nullptr;
    }
    bool oddZero = true;
    for (int i = 0; i < tapCount; ++i) {
        TSplit s;
        if (static_cast<extended>(static_cast<double>(feedForward[i])) != feedForward[i] || !Split(feedBack[i], s)) {
            return nullptr;
        }
        if (i % 2 != 0 && feedForward[i] != 0) {
            oddZero = false;
        }
    }
    return oddZero ? EvenTapKernels[tapCount - 1] : AllTapKernels[tapCount - 1];
}

} // namespace dspIIRBlock
