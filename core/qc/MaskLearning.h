#pragma once

#include "core/qc/ToleranceMask.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What learning a mask from a list of units says and writes, in the same words from tulvo-cli
// mask and from the windows: a mask learned from the same units has the same bytes, and its
// warnings the same text, whichever of them learned it.

// How many of the units a mask is learned from are recordings and spectrum files.
struct TMaskUnitCounts {
    std::size_t Recordings = 0;
    std::size_t SpectrumFiles = 0;

    std::size_t Total() const { return Recordings + SpectrumFiles; }
};

// Why no mask is learned from units units (fewer than MinimumMaskUnits): "a mask needs at
// least 5 units, 3 given".
std::string TooFewMaskUnitsText(std::size_t units);

// Why the mask is not written over one of its own units: "the mask M would overwrite U, one of
// its units".
std::string MaskOverwritesUnitText(std::string_view mask, std::string_view unit);

// The warnings about a mask learned from such units, in this order, none when neither applies:
// "a mask from fewer than 20 units is rough (N given)" below RoughMaskUnits units, and "no level
// band: N of the units are spectrum files, which hold no level" when recordings and spectrum
// files are mixed.
std::vector<std::string> MaskLearningWarnings(const TMaskUnitCounts& counts);

// Adds to mask, learned from such units by version (the program's version, "1.0.0"), the
// notes of how it was made: "Learned by tulvo-cli 1.0.0 from 30 recordings." (or spectrum
// files, or both), and for a mask without a level band the line saying why.
void AddLearningNotes(TToleranceMask& mask, const TMaskUnitCounts& counts, std::string_view version);
