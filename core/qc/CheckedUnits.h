#pragma once

#include "core/analysis/SpmFile.h"
#include "core/analysis/WavHeader.h"
#include "core/batch/UnitInput.h"
#include "core/qc/ToleranceMask.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A list of units checked against a mask and kept whole, as the check window lists them: each
// unit's verdict or the failure that kept it from being read, its spectrum for its chart, and
// the table and the order they are shown in. About 8 KB a unit.

// One unit as checked.
struct TCheckedUnit {
    std::string File; // as named, the table's File
    // The verdict against the mask; nothing when the unit cannot be read.
    std::optional<TMaskVerdict> Verdict;
    // Then why (FailureText of core/files/ErrorMessages.h), the table's Verdict.
    std::string Failure;
    // The unit as read (its spectrum, levels and, for a recording, header check).
    std::optional<TUnit> Unit;

    bool Differs() const { return Verdict && !Verdict->Ok; }
};

// Reads files with ReadUnits (on jobs worker threads, 0: DefaultJobCount()) as the mask's kind
// of spectrum, whatever options says, and checks each against mask as tulvo-cli check does (a
// spectrum file against a max-hold mask cannot be read); progress(index) runs on the caller's thread after each
// unit, in list order. A unit that cannot be read gets its failure; any other error is thrown.
std::vector<TCheckedUnit> CheckUnits(const TToleranceMask& mask, const std::vector<std::string>& files,
                                     const TUnitReadOptions& options, int jobs,
                                     const std::function<void(std::size_t index)>& progress = {});

// tulvo-cli check's table of units (core/qc/CheckTable.h) in their order: the header, then a row
// per unit.
std::string CheckTableText(std::span<const TCheckedUnit> units);

// The indices of units in the order the check window lists them (FailuresFirstOrder of their
// verdicts, core/qc/ToleranceMask.h).
std::vector<std::size_t> FailuresFirstOrder(std::span<const TCheckedUnit> units);
