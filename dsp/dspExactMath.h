#pragma once

// Transcendental functions of the exact analysis path, independent of the C
// runtime.
//
// The spectrum files are fixed to the bit, and the long double cos, sin, tan
// and hypot of C runtimes differ in their last bits (glibc's and MinGW-w64's
// disagree for 5-20% of arguments). These functions give glibc's results on
// every system:
//   Cos, Sin, Tan  look the argument up in a table of the angles the analysis
//                  uses (all FFT twiddle steps pi/2^k, k = 0..14; the poles
//                  of the order-8 Butterworth prototype; the prewarped edges
//                  and the centre of the 1000..10000 Hz band at 51200 Hz),
//                  stored as exact extended literals. Any other argument is
//                  a general design parameter off the exact path: it falls
//                  back to the runtime and is counted (RuntimeFallbacks).
//   Hypot          computes sqrt(x^2 + y^2) with a correction step (C. F.
//                  Borges, "An improved algorithm for hypot(a,b)", 2019, his
//                  MyHypot3), with the scaling thresholds glibc uses for the
//                  extended format; the same operations in the same order,
//                  so glibc's bits for every argument but a signalling NaN
//                  beside an infinity (infinity here, a NaN in glibc).
//   Log10          log10 from the argument's binary exponent (frexp, exact)
//                  and an odd series of atanh in +, -, * and / alone, so that
//                  every system gives the same bits; within 2 units in the
//                  last place of glibc's log10l. For the levels in dB.
// Hypot's and Log10's arithmetic needs the state that
// dspFloatControl::SetExactFloatControl sets.

#include <cstdint>
#include <span>

#include "dsp/dspTypes.h"

namespace dspExactMath {

extended Cos(extended x);
extended Sin(extended x);
extended Tan(extended x);
extended Hypot(extended x, extended y);
// log10 x: -infinity for 0, NaN for a negative x or a NaN, +infinity for +infinity.
extended Log10(extended x);

// How many calls of Cos, Sin and Tan in this process fell back to the runtime.
std::uint64_t RuntimeFallbacks() noexcept;

// The stored values, for checking them against the runtime they came from.
struct TCosSinRow {
    extended Angle;
    extended Cos;
    extended Sin;
};
struct TTangentRow {
    extended Angle;
    extended Tan;
};
std::span<const TCosSinRow> CosSinRows() noexcept;
std::span<const TTangentRow> TangentRows() noexcept;

} // namespace dspExactMath
