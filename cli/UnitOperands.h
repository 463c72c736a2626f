#pragma once

#include "cli/FileList.h"
#include "cli/TToolContext.h"
#include "core/batch/UnitInput.h"

#include <string>
#include <vector>

namespace CLI {
class App;
}

// The units of mask and check: spectrum files and recordings told apart by
// extension, read as core's ReadUnits reads them, and what the tool says
// about them.

// The options of mask and check that choose and read units.
struct TUnitArguments {
    std::vector<std::string> Units; // "-": one spectrum file from stdin
    TFileListOptions List;
    bool Strict = false; // a nonconforming recording fails instead of a warning
    int Jobs = 0;        // 0: one per processor this process may use
};

// Declares the UNIT operands, --files-from, -0, --strict and --jobs on app,
// bound to arguments.
void DeclareUnitOptions(CLI::App& app, TUnitArguments& arguments);

// The units named by the operands and the list. Raises TUsageError, before
// any is read, for a name that is neither a spectrum file (".spm") nor a
// recording (".wav"), and for "-" more than once.
std::vector<std::string> CollectUnits(const TUnitArguments& arguments, const TToolContext& context);

// Refuses, before any is read, a spectrum file among units (a name ending
// in ".spm", or "-") when kind is MaxHold: it holds no frames. The
// TUsageError says why, then the unit and SpectrumFileHoldsNoFrames.
void CheckUnitsOfKind(const std::vector<std::string>& units, TSpectrumKind kind, const std::string& why);

// How the units are read: strict or not, "-" from the context's stdin, each
// giving its spectrum of kind kind.
TUnitReadOptions UnitReadOptions(const TUnitArguments& arguments, const TToolContext& context,
                                 TSpectrumKind kind = TSpectrumKind::Average);

// Reports a unit as read (unit), or the failure (error) that kept it from
// being read: the failure on stderr ("tulvo-cli: UNIT: message", "-" named
// "standard input"), or the warning of a recording analysed as raw samples.
// Returns the failure's text, empty for a unit read.
std::string ReportUnit(const std::string& name, const std::optional<TUnit>& unit, const std::exception_ptr& error,
                       const TToolContext& context);
