#pragma once

// Weighting windows for the FFT component.
//
// Weight of sample i in a window of N samples (0 <= i < N):
//   fwNone      1
//   fwHamming   0.54 - 0.46*cos(2*pi*i/N)
//   fwHanning   0.5 - 0.5*cos(2*pi*i/N)
//   fwBlackman  0.42 - 0.5*cos(2*pi*i/N) + 0.08*cos(4*pi*i/N)
//   fwGaussian  exp(-0.5*(2i - N)^2 / N^2)
//   fwWelch     1 - ((2i - N)/(N + 1))^2
//   fwParzen    1 - |2i - N|/(N + 1)         (a triangle)
// The cosine windows are the periodic forms (divided by N). Every kind peaks
// at exactly 1 for i = N/2, and weight[i] equals weight[N - i] up to rounding.
// Each weight is computed in extended precision and rounded to single once.

#include <cstdint>

#include "dsp/dspTypes.h"

enum TdspWindow : std::uint8_t { fwNone, fwHamming, fwHanning, fwBlackman, fwGaussian, fwWelch, fwParzen };

// Weight of sample `index` in a window of `count` samples (count > 0).
// A kind outside the enumeration weighs like fwNone.
single WindowValue(TdspWindow kind, std::int32_t index, std::int32_t count);

// Writes the `count` weights of `kind` into table[0..count-1] in increasing
// order; the caller's table holds at least `count` singles. count <= 0 writes nothing.
void FillWindow(TdspWindow kind, single* table, std::int32_t count);
