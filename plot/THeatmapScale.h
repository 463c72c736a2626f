#pragma once

#include "core/analysis/SpmFile.h"

#include <span>

// The value scale of a heatmap: which of 256 colours (0 lowest) a value gets.
//   linear:       t = (v - Lo) / (Hi - Lo)
//   logarithmic:  t = log(max(v, Lo) / Lo) / log(Hi / Lo)
//   index = floor(256 t), clamped to 0..255.
// A scale with Hi <= Lo (all values equal to Lo, or no positive value on a
// logarithmic scale) gives every value index 0. A plain copyable value.
struct THeatmapScale {
    double Lo = 0;
    double Hi = 0;
    bool Logarithmic = false;

    // The one scale of all bands: linear from min(0, the smallest value) to the
    // largest value; logarithmic from LevelFloorRatio (core/qc/SpectrumComparison.h)
    // times the largest value up to it, so that lower values and zero lines
    // take the lowest colour.
    static THeatmapScale ForBands(std::span<const TBandValues> bands, bool logarithmic);

    // The colour index of value, 0..255 (0 for NaN).
    int Index(double value) const;
};
