#pragma once

// Steps of the IIR filter design, in extended precision throughout.
//
// The design takes poles of an analog low-pass prototype with unit cut-off
// (Butterworth, Chebyshev or Bessel), moves them to the requested response
// with prewarped edges w = 2*tan(pi*alpha), maps poles and zeros to the
// z-plane by the bilinear transform z = (2 + s)/(2 - s), and multiplies them
// out into monic polynomials (index = power of z). TdspIIRFilter::Redesign
// chains the steps; they are separate here so that each can be checked alone.

#include <array>
#include <cstdint>
#include <string>

#include "dsp/TComplex.h"

enum TdspIIRFilterKind : std::uint8_t { fkButterworth, fkChebyshev, fkBessel };
enum TdspIIRFilterResponse : std::uint8_t { ftLowpass, ftHighpass, ftBandpass, ftBandstop };

// Capacity of pole, zero, coefficient and history arrays (the design uses at most 16).
inline constexpr int PoleZeroCapacity = 33;

// Poles and zeros of one design; only the leading NumPoles/NumZeros entries are valid.
struct TPoleZeroSet {
    std::array<TComplex, PoleZeroCapacity> Poles;
    std::array<TComplex, PoleZeroCapacity> Zeros;
    std::int32_t NumPoles;
    std::int32_t NumZeros;
};

// Complex polynomial coefficients, index = power of z.
using TPolynomial = std::array<TComplex, PoleZeroCapacity>;

// The tolerance of the realness check, also the lower limit of the Chebyshev epsilon.
inline constexpr extended RealnessTolerance = 1e-10L;

// All poles and zeros (0, 0), both counts 0.
void ClearPoleZeroSet(TPoleZeroSet& pz);

// Appends `pole` to pz.Poles when its real part is strictly negative; drops it otherwise.
void AddPrototypePole(TPoleZeroSet& pz, TComplex pole);

// Butterworth prototype of `order` (1..8): the left half of the 2*order
// points cis(theta) on the unit circle, in order of increasing theta.
void AddButterworthPoles(TPoleZeroSet& pz, int order);

// Bessel prototype of `order` (1..8) from the fixed table: for an odd order
// one real pole, then conjugate pairs.
void AddBesselPoles(TPoleZeroSet& pz, int order);

// Scales the prototype poles to a Chebyshev response of `rippleDb` (>= 0) dB:
// eps = max(sqrt(10^(rippleDb/10) - 1), 1e-10), y = asinh(1/eps)/order, and
// every pole becomes (Re*sinh y, Im*cosh y). When y <= 0 the poles stay and
// the diagnostic is written to errorText; returns whether the poles were scaled.
bool ApplyChebyshevRipple(TPoleZeroSet& pz, int order, extended rippleDb, std::string& errorText);

// Moves the prototype poles to `response` with the prewarped edges w1, w2:
// low-pass scales by w1; high-pass inverts (w1/p) and adds order zeros at 0;
// band-pass and band-stop swap w1 > w2, take w0 = sqrt(w1*w2), bw =
// max(w2 - w1, order*0.0001), h = p*bw/2, and split each pole into
// h*(1 + t) and h*(1 - t) with t = sqrt(1 - (w0/h)^2). Band-pass adds order
// zeros at 0, band-stop the zeros +-j*w0. For the Butterworth prototype this
// band-stop mapping equals the classical substitution h = (bw/2)/p; for the
// Chebyshev and Bessel prototypes the band-stop keeps the band-pass poles.
void TransformResponse(TPoleZeroSet& pz, TdspIIRFilterResponse response, int order, extended w1, extended w2);

// (2 + s)/(2 - s)
TComplex BilinearPoint(TComplex s);

// Maps every analog pole and zero to the z-plane and pads the zeros with
// (-1, 0) up to the number of poles.
void MapToDigital(const TPoleZeroSet& analog, TPoleZeroSet& digital);

// Multiplies out prod (z - roots[k]) for k < count into coef[0..count] (coef[count] = 1).
// A coefficient whose imaginary part exceeds 1e-10 in magnitude (or is not a number)
// adds the line "Coeff of z^i is not real; ..." to a text that, when not empty,
// replaces errorText.
void PolyFromRoots(const TComplex* roots, int count, TPolynomial& coef, std::string& errorText);

// coef[degree]*z^degree + ... + coef[0] by Horner's rule.
TComplex PolyValue(const TPolynomial& coef, int degree, TComplex z);
