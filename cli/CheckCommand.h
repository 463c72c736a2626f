#pragma once

#include "cli/TToolContext.h"
#include "cli/UnitOperands.h"
#include "core/qc/ToleranceMask.h"

#include <optional>
#include <string>

namespace CLI {
class App;
}

// tulvo-cli check: units against a tolerance mask, as a CSV table.
//
//   tulvo-cli check --mask MASK.csv [--max-hold] [--failed-only] UNIT...
struct TCheckArguments {
    std::string Mask;
    TUnitArguments Units;
    bool FailedOnly = false; // only the rows that are not "ok"
    bool MaxHold = false;    // the mask must be one of max-hold spectra
};

// Reads the mask file path; one that cannot be read gets its message on stderr
// ("tulvo-cli: MASK: message") and nothing is returned.
std::optional<TToleranceMask> ReadMaskOrReport(const std::string& path, const TToolContext& context);

// Declares check's options and operands on app, bound to arguments.
void DeclareCheckOptions(CLI::App& app, TCheckArguments& arguments);

// Reads the mask (a mask that cannot be read: its message and exit 1 before
// any row). The mask's kind says which spectrum of each unit is checked;
// refused as usage errors before any unit is read: MaxHold with a mask that
// is not of max-hold spectra, and a spectrum file against a mask that is.
// Then prints core's check table (CheckTable.h) on stdout: the
// header and one row per unit in the given order, each as soon as its unit
// is checked (with FailedOnly only those not "ok"). A unit that cannot be
// read gets its failure in its row and on stderr, a recording analysed as
// raw samples a warning on stderr. Returns 0 when every unit is ok, 1 when
// any differs or cannot be read.
int RunCheckCommand(const TCheckArguments& arguments, TToolContext& context);
