#pragma once

// Block filtering for TdspIIRFilter: the same recurrence, rounding for
// rounding, several times faster than one FilterSample call per sample.
//
// Loading an extended value from memory is slow on x86-64, and the recurrence
// loads four per tap. Here the history and the feedback coefficients are held
// as pairs of doubles whose sum is exactly the extended value (a double keeps
// 53 of its 64 significant bits, a second double the remaining 11); joining a
// pair in an x87 register is one cheap load and one exact addition. Each
// sample's sum is still formed in extended, in its fixed order, and two
// samples are interleaved since the second needs the first's output only at
// its last tap. For a band-pass the numerator (z^2 - 1)^order has zeros at
// every odd power: adding such a zero product leaves the sum unchanged
// (the sum is never -0 for integer input and a positive finite gain), so
// those products are skipped.
//
// A value that is not exactly a pair of doubles (infinite, NaN, or below the
// double range) stops the fast loop; the caller finishes the block in extended.

#include <cstdint>

#include "dsp/dspTypes.h"

namespace dspIIRBlock {

// An extended value as Hi + Lo, both doubles; exact only if Split said so.
struct TSplit {
    double Hi;
    double Lo;
};

inline extended Join(const TSplit& s) { return static_cast<extended>(s.Hi) + static_cast<extended>(s.Lo); }

// Whether v is exactly Hi + Lo with Hi = v rounded to double.
inline bool Split(extended v, TSplit& s)
{
    s.Hi = static_cast<double>(v);
    s.Lo = static_cast<double>(v - static_cast<extended>(s.Hi));
    return Join(s) == v;
}

// The coefficients of one design in the form the kernels read.
struct TBlockCoefficients {
    int TapCount;
    extended GainScale;
    const double* FeedForward; // exact copies of the extended coefficients
    const TSplit* FeedBack;
};

// Filters input[0..count-1] into output, reading and extending the split
// histories: in[0..TapCount] and out[0..TapCount] hold the current window
// (entry TapCount the newest) and must have room for `count` more entries.
// Returns how many samples were done (an even number); the rest is left to
// the extended loop.
using TBlockKernel = int (*)(const std::int16_t* input, single* output, int count, TSplit* in, TSplit* out,
                             const TBlockCoefficients& c);

// The kernel for a design, or nullptr when the design is outside what the
// kernels handle exactly: more than 16 taps, a feed-forward coefficient that is
// not a double, a feedback coefficient that is not a pair of doubles, or a gain
// that is not positive and moderate.
TBlockKernel ChooseKernel(int tapCount, extended gainScale, const extended* feedForward, const extended* feedBack);

} // namespace dspIIRBlock
