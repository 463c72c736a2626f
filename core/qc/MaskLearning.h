#pragma once

#include "core/batch/UnitInput.h"
#include "core/qc/ToleranceMask.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Learning a mask from a list of units: the one flow that tulvo-cli mask and the windows go
// through, so that a mask learned from the same units has the same bytes, and its warnings and
// refusals the same text, whichever of them learned it.

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

// Why the mask file mask is not written: it would overwrite one of units (FindSameFile of
// core/files/PathCollisions.h: the same name once folders are resolved, or the same file), in
// MaskOverwritesUnitText's words; nothing when it is none of them. "-" (standard output) is none.
std::optional<std::string> MaskOverwriteRefusal(const std::string& mask, const std::vector<std::string>& units);

// What learning a mask gave.
struct TLearnedMask {
    // The mask with its learning notes; nothing when a unit could not be read or the reading was
    // stopped.
    std::optional<TToleranceMask> Mask;
    TMaskUnitCounts Counts; // of the units read
    std::size_t Unread = 0; // units that could not be read
    // MaskLearningWarnings of the counts, when a mask was learned.
    std::vector<std::string> Warnings;
};

// Reads units with ReadUnits (on jobs worker threads, 0: DefaultJobCount()) as spectra of
// options.Kind, whatever readOptions says, hands each outcome to look on the caller's thread in
// list order (for the caller's messages and progress; when it returns false, no more units are
// read), and learns a mask with options from them when every unit was read, with its notes for
// version (AddLearningNotes) and its warnings. Raises std::invalid_argument (TooFewMaskUnitsText)
// with fewer than MinimumMaskUnits units, before reading any.
TLearnedMask LearnMask(const std::vector<std::string>& units, const TMaskOptions& options,
                       const TUnitReadOptions& readOptions, int jobs, std::string_view version,
                       const std::function<bool(std::size_t index, const TUnitOutcome& outcome)>& look = {});
