#include "dsp/dspWindow.h"

#include <cmath>

namespace {

// (k*i)*pi/N, formed as the integer k*i converted to extended, times pi, over N.
extended CosineAngle(std::int64_t multiple, std::int32_t count)
{
    return static_cast<extended>(multiple) * ExtendedPi / static_cast<extended>(count);
}

extended Weight(TdspWindow kind, std::int32_t index, std::int32_t count)
{
    // 64-bit integers: the same values as 32-bit arithmetic for the lengths the
    // FFT uses (N <= 32768), without overflow for longer windows.
    const std::int64_t i = index;
    const std::int64_t n = count;
    // The cosine and Gaussian windows use the runtime's cos and exp: the exact
    // analysis weighs with fwParzen only, which needs no transcendental function.
    switch (kind) {
    case fwNone: return 1.0L;
    case fwHamming: return 0.54L - 0.46L * std::cos(CosineAngle(2 * i, count));
    case fwHanning: return 0.5L - 0.5L * std::cos(CosineAngle(2 * i, count));
    case fwBlackman: {
        const extended t = 0.42L - 0.5L * std::cos(CosineAngle(2 * i, count));
        return t + 0.08L * std::cos(CosineAngle(4 * i, count));
    }
    case fwGaussian: {
        const std::int64_t d = 2 * i - n;
        const extended a = -0.5L / static_cast<extended>(n * n) * static_cast<extended>(d * d);
        return std::exp(a);
    }
    case fwWelch: {
        const extended q = static_cast<extended>(2 * i - n) / static_cast<extended>(n + 1);
        return 1.0L - q * q;
    }
    case fwParzen: {
        const extended q = static_cast<extended>(2 * i - n) / static_cast<extended>(n + 1);
        return 1.0L - std::fabs(q);
    }
    }
    return 1.0L;
}

} // namespace

single WindowValue(TdspWindow kind, std::int32_t index, std::int32_t count)
{
    return static_cast<single>(Weight(kind, index, count));
}

void FillWindow(TdspWindow kind, single* table, std::int32_t count)
{
    for (std::int32_t i = 0; i < count; ++i) {
        table[i] = WindowValue(kind, i, count);
    }
}
