#pragma once

// Butterfly stages and magnitudes of the FFT component, fast but bit for bit
// equal to the extended-precision definition.
//
// A butterfly's twiddle product u*x[b] is defined as (u.re*x.re - u.im*x.im)
// formed in extended and rounded to single. Products of two singles are exact
// in double, so the difference rounded to double and then to single gives the
// same single, except when the double lands within one unit of a point halfway
// between two singles (where rounding twice can differ) or outside the normal
// single range; those rare butterflies are recomputed in extended. Sums of two
// singles are rounded once either way. Magnitudes use the same idea with a
// wider margin for the square root. Results are the same bit for bit in the
// default floating-point environment (round to nearest, no flush to zero),
// except which NaN comes out where NaNs meet.

#include <cstdint>

#include "dsp/dspTypes.h"

namespace dspFFTStages {

// u*v, real and imaginary part, each formed in extended and rounded to single.
inline single MulRe(single ur, single ui, single vr, single vi)
{
    const extended p = static_cast<extended>(ur) * vr;
    const extended q = static_cast<extended>(ui) * vi;
    return static_cast<single>(p - q);
}

inline single MulIm(single ur, single ui, single vr, single vi)
{
    const extended p = static_cast<extended>(ur) * vi;
    const extended q = static_cast<extended>(ui) * vr;
    return static_cast<single>(p + q);
}

// All butterfly stages of a transform of 2^power points with direction +1 on
// (xr, xi) in bit-reversed order. factorRe/factorIm hold the running factors
// u of stage k at [2^k - 1, 2^(k+1) - 1), as doubles (exact copies of singles).
void RunStages(single* xr, single* xi, int power, const double* factorRe, const double* factorIm);

// The transform of 2^power points with direction +1: (inRe, inIm) in bit-reversed
// order (bitReverse[i] the source of point i) into (xr, xi), then all stages.
// With a window (2^power weights, or nullptr for none), inRe is first weighted
// in place, each value times its weight rounded to single. inIm is left as it
// is; the inputs must not overlap the outputs.
void RunTransform(single* inRe, const single* inIm, single* xr, single* xi, int power, const std::int32_t* bitReverse,
                  const double* factorRe, const double* factorIm, const single* window);

// xr[m] = sqrt(xr[m]^2 + xi[m]^2) * scale rounded to single, for m < count;
// scale is a power of two.
void RunMagnitudes(single* xr, const single* xi, int count, single scale);

} // namespace dspFFTStages
