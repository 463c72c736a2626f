#pragma once

#include "cli/FileList.h"
#include "cli/TToolContext.h"
#include "core/qc/SpectrumComparison.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
}

// tulvo-cli plot: spectrum files drawn into a PNG picture.
//
//   tulvo-cli plot FILE.spm... -o OUT.png [--log] [--overlay] [--size WxH]
//   tulvo-cli plot --heatmap FILE.spm... -o OUT.png [--log] [--size WxH]
//       [--sort distance|correlation --reference REF.spm...]
//   tulvo-cli plot --frames RECORDING -o OUT.png [--size WxH]
//
// Drawing needs Qt's chart and painter, which tulvo-cli does not load: it
// parses the words itself (so that usage errors and --help come at once),
// then hands them unchanged to the drawing helper tulvo-plot, which parses
// them with the same declarations and draws (see cli/plot/).
struct TPlotArguments {
    std::vector<std::string> Files; // "-": one spectrum file from stdin
    TFileListOptions List;
    std::string Output; // "-": the PNG to stdout
    bool Logarithmic = false;
    bool Overlay = false;
    int Width = 0; // 0 when no --size was given
    int Height = 0;
    bool Heatmap = false; // one row per file, the value as a colour
    // With Heatmap: the rows ordered as compare orders them against the
    // reference of References (set together).
    std::optional<TCompareSort> Sort;
    std::vector<std::string> References;
    // One recording's waveform and the spectrogram of its frames instead.
    bool Frames = false;
};

// The largest width or height of a picture, in pixels.
inline constexpr int MaxPictureSide = 10000;

// Declares plot's options and operands on app, bound to arguments; --size
// takes "WxH", each from 1 to MaxPictureSide. --overlay excludes --heatmap;
// --sort and --reference need each other and --heatmap; --frames excludes
// --overlay, --heatmap and --log.
void DeclarePlotOptions(CLI::App& app, TPlotArguments& arguments);

// The files to draw (operands, then the list) once the command line is
// checked: at most one "-" among them and the references, and an output that
// is none of the files or references, nor the same file through a link
// (TUsageError). With Frames: one recording, neither "-" nor a spectrum file.
std::vector<std::string> PlotFiles(const TPlotArguments& arguments, const TToolContext& context);

// Runs the drawing helper with "plot" and the context's command words in place
// of this process. Returns only when it cannot be run (exit 1, with the
// message).
int RunPlotCommand(const TPlotArguments& arguments, TToolContext& context);

// Runs the drawing helper in place of this process with the words command
// (the command it runs: "plot" or "report") and the context's command words;
// returns only when it cannot be run, with exit 1 after the message (and the
// build's note when it has no helper).
int RunDrawingHelper(std::string_view command, TToolContext& context);

// Where the drawing helper is: beside the installed tulvo-cli at the place
// its installation gives it (<bindir>/../<libexecdir>/tulvo/tulvo-plot), or
// else beside it in the build tree. exePath is the running program.
std::string PlotHelperPath(const std::string& exePath);
