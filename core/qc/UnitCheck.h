#pragma once

#include "core/batch/UnitInput.h"
#include "core/qc/CheckTable.h"
#include "core/qc/ToleranceMask.h"

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Checking units against a mask: the one flow that tulvo-cli check, the check window, the run's
// report and the results database all go through, so that the same mask and units give the same
// verdicts, rows and records wherever they are judged.

// One unit judged against a mask: its verdict, or the failure that kept it from being read. With
// its spectrum (about 8 KB), for its chart and its record.
struct TJudgedUnit {
    std::string File; // as named
    // The unit as read (its spectrum of the mask's kind, levels and, for a recording, header
    // check); nothing when it cannot be read, and then Error and Failure say why.
    std::optional<TUnit> Unit;
    std::exception_ptr Error;
    std::string Failure; // FailureText of Error (core/files/ErrorMessages.h), the table's Verdict
    // The verdict against the mask, for a unit read.
    std::optional<TMaskVerdict> Verdict;

    bool Differs() const { return Verdict && !Verdict->Ok; }
};

// A unit as read, before any verdict: the unit taken from outcome, or its failure (FailureText).
TJudgedUnit UnitAsRead(std::string file, TUnitOutcome& outcome);

// Reads files with ReadUnits (on jobs worker threads, 0: DefaultJobCount()) as the mask's kind of
// spectrum, whatever options says (a spectrum file against a max-hold mask cannot be read), judges
// each against mask with CheckUnit, and hands it to take on the caller's thread, in list order,
// with its index. A unit that cannot be read is handed over with its failure; any other error is
// thrown. When stop is given and becomes true, no more units are taken and false is returned;
// true when every unit was taken.
bool CheckUnitsInTurn(const TToleranceMask& mask, const std::vector<std::string>& files,
                      const TUnitReadOptions& options, int jobs,
                      const std::function<void(std::size_t index, TJudgedUnit& unit)>& take,
                      const std::atomic<bool>* stop = nullptr);

// CheckUnitsInTurn kept whole, as the check window lists the units; progress(index) runs after each.
std::vector<TJudgedUnit> CheckUnits(const TToleranceMask& mask, const std::vector<std::string>& files,
                                    const TUnitReadOptions& options, int jobs,
                                    const std::function<void(std::size_t index)>& progress = {});

// How many of units came out ok, differing, and unreadable.
TCheckCounts CountVerdicts(std::span<const TJudgedUnit> units);

// tulvo-cli check's row of a judged unit (core/qc/CheckTable.h).
std::string CheckTableRow(const TJudgedUnit& unit);

// tulvo-cli check's table of units in their order: the header, then a row per unit.
std::string CheckTableText(std::span<const TJudgedUnit> units);

// The indices of units in the order the check window and the report list them
// (FailuresFirstOrder of their verdicts, core/qc/ToleranceMask.h).
std::vector<std::size_t> FailuresFirstOrder(std::span<const TJudgedUnit> units);
