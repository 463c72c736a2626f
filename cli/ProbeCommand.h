#pragma once

#include "cli/FileList.h"
#include "cli/TToolContext.h"
#include "core/analysis/WavHeader.h"

#include <string>
#include <vector>

namespace CLI {
class App;
}

// tulvo-cli probe: the header check of recordings as a CSV table.
struct TProbeArguments {
    std::vector<std::string> Files; // "-": one recording from stdin
    TFileListOptions List;
};

// Declares probe's options and operands on app, bound to arguments.
void DeclareProbeOptions(CLI::App& app, TProbeArguments& arguments);

// The CSV row of a checked recording (line end included):
//   File,Container,Format,Channels,Rate (Hz),Bits,Data offset,Data bytes,Verdict
// Container is "RIFF/WAVE" or "other"; Format "PCM", "extensible PCM",
// "float", "other (tag N)", or empty with Channels, Rate and Bits when there
// is no usable format chunk; the data fields are empty without a data chunk.
std::string ProbeRow(const std::string& file, const TWavHeaderVerdict& verdict);

// Checks the first bytes of every recording (CheckWavHeader) and prints one
// row per recording on stdout, after the header line. A recording that
// cannot be read gets its error on stderr and in its Verdict field. Returns
// 0 when every recording conforms, 1 otherwise.
int RunProbeCommand(const TProbeArguments& arguments, TToolContext& context);
