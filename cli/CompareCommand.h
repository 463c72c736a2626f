#pragma once

#include "cli/FileList.h"
#include "cli/TToolContext.h"
#include "core/qc/SpectrumComparison.h"

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

// tulvo-cli compare: each spectrum file against a reference, as a CSV table.
//
//   tulvo-cli compare --reference REF.spm [--reference MORE.spm...] FILE.spm...
//       [--max-distance DB] [--min-correlation R] [--sort distance|correlation]
struct TCompareArguments {
    std::vector<std::string> References; // one file, or several whose mean is the reference
    std::vector<std::string> Files;      // "-": one spectrum file from stdin
    TFileListOptions List;
    TCompareThresholds Thresholds;
    std::optional<TCompareSort> Sort; // none: the given order
};

// The header of compare's table.
inline constexpr const char* CompareHeader = "File,Peak (Hz),Peak shift (Hz),Centroid (Hz),Correlation,"
                                             "Distance (dB),Max deviation (dB),Max deviation at (Hz),Verdict";

// Declares compare's options and operands on app, bound to arguments.
// --max-distance takes a finite number of dB from 0 up, --min-correlation
// one from -1 to 1.
void DeclareCompareOptions(CLI::App& app, TCompareArguments& arguments);

// Declares "--reference REF.spm" (required, repeatable) on app, bound to
// references; shared with plot --heatmap.
CLI::Option* DeclareReferenceOption(CLI::App& app, std::vector<std::string>& references, bool required);

// Declares "--sort distance|correlation" on app, bound to sort.
CLI::Option* DeclareSortOption(CLI::App& app, std::optional<TCompareSort>& sort);

// Reads the reference files (their mean when several). On a failure writes
// the tool's error line naming the file and returns nothing.
std::optional<TBandLevels> ReadReference(const std::vector<std::string>& references, const TToolContext& context);

// Reads the reference (an unreadable one: exit 1 before anything is
// printed), then prints the table: CompareHeader and one row per file, in
// the given order or with Sort the most different first (unreadable files
// last). Columns: the file as named; Peak, Peak shift and Max deviation at
// in whole Hz, Centroid with 1 decimal, Correlation with 6, Distance and Max
// deviation in dB with 3, all with a '.' decimal point whatever the locale
// and empty for a figure that cannot be formed; Verdict "ok", "differs" when
// a threshold is crossed, or the error of a file that cannot be read (which
// is also reported on stderr). Exit 0 when every file is read and within the
// thresholds, 1 otherwise.
int RunCompareCommand(const TCompareArguments& arguments, TToolContext& context);
