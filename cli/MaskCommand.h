#pragma once

#include "cli/TToolContext.h"
#include "cli/UnitOperands.h"
#include "core/qc/ToleranceMask.h"

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

// tulvo-cli mask: a tolerance mask learned from known-good units.
//
//   tulvo-cli mask [--max-hold] [--factor F] [--offset DB] [--upper-offset DB]
//       [--lower-offset DB] [--floor DB] [--exclude LOW-HIGH]... -o MASK.csv UNIT...
struct TMaskArguments {
    TUnitArguments Units;
    std::string Output; // "-": standard output
    TMaskOptions Options;
    std::optional<double> Offset; // both sides, unless a side's own is given
    std::optional<double> UpperOffset;
    std::optional<double> LowerOffset;
    std::vector<std::string> Excluded; // "LOW-HIGH" ranges of Hz
};

// Declares mask's options and operands on app, bound to arguments.
void DeclareMaskOptions(CLI::App& app, TMaskArguments& arguments);

// Learns the mask and writes it (core's TMaskLearner, MaskFileText). Refused
// before anything is read, as a usage error: fewer than MinimumMaskUnits
// units, a name that is neither a spectrum file nor a recording, a spectrum
// file with --max-hold, an output that is one of the units. Every unit that
// cannot be read or is refused is reported on stderr, and then nothing is
// written (exit 1). Warns of a mask from fewer than RoughMaskUnits units,
// of recordings analysed as raw samples and of a level band left out
// because some units are spectrum files. The mask replaces Output only as a
// whole file. Returns 0 when written.
int RunMaskCommand(const TMaskArguments& arguments, TToolContext& context);
