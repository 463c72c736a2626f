#include "cli/PlotCommand.h"

#include "cli/CompareCommand.h"
#include "cli/ExitStatus.h"
#include "cli/RecordingOperands.h"
#include "cli/SpectrumOperands.h"
#include "cli/ToolMessages.h"
#include "core/base/Paths.h"
#include "core/files/PathCollisions.h"
#include "core/platform/Program.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <string_view>

namespace {

// "WxH" with both from 1 to MaxPictureSide; false for anything else.
bool ParseSize(const std::string& text, int& width, int& height)
{
    const char* end = text.data() + text.size();
    const auto w = std::from_chars(text.data(), end, width);
    if (w.ec != std::errc() || w.ptr == end || *w.ptr != 'x') {
        return false;
    }
    const auto h = std::from_chars(w.ptr + 1, end, height);
    return h.ec == std::errc() && h.ptr == end && width >= 1 && height >= 1 && width <= MaxPictureSide &&
           height <= MaxPictureSide;
}

} // namespace

void DeclarePlotOptions(CLI::App& app, TPlotArguments& arguments)
{
    app.add_option("FILE", arguments.Files, "spectrum files")->option_text("FILE...");
    DeclareFileListOptions(app, arguments.List, "spectrum files");
    app.add_option("-o,--output", arguments.Output, "the picture to write ('-': the PNG to standard output)")
        ->option_text("OUT.png")
        ->required();
    app.add_flag("--log", arguments.Logarithmic, "logarithmic value axis");
    CLI::Option* overlay =
        app.add_flag("--overlay", arguments.Overlay, "all spectra in one chart (default: one chart each, stacked)");
    CLI::Option* heatmap =
        app.add_flag("--heatmap", arguments.Heatmap,
                     "one row per file, top to bottom, the value as a colour (viridis) with a colour bar")
            ->excludes(overlay);
    app.add_flag("--frames", arguments.Frames,
                 "FILE is one recording: its waveform on top and the spectrogram of its 15 frames below, on one "
                 "time axis from 0 to 320 ms, the level in dB as a colour (viridis, 60 dB) with a colour bar")
        ->excludes(overlay)
        ->excludes(heatmap)
        ->excludes("--log");
    CLI::Option* sort = DeclareSortOption(app, arguments.Sort)->needs(heatmap);
    CLI::Option* reference = DeclareReferenceOption(app, arguments.References, false);
    sort->needs(reference);
    reference->needs(sort);
    app.add_option_function<std::string>(
           "--size",
           [&arguments](const std::string& text) {
               if (!ParseSize(text, arguments.Width, arguments.Height)) {
                   throw CLI::ValidationError("--size", "needs WxH, each from 1 to " + std::to_string(MaxPictureSide) +
                                                            " pixels, not '" + text + "'");
               }
           },
           "picture size in pixels (default 630x360, or 180 pixels high per stacked chart; a heatmap 630 wide, "
           "its rows 16 pixels high, 240 to 480 in all, or 1 pixel each beyond 480 files; --frames 630x420)")
        ->option_text("WxH");
}

std::vector<std::string> PlotFiles(const TPlotArguments& arguments, const TToolContext& context)
{
    std::vector<std::string> files = CollectFiles(arguments.Files, arguments.List, context);
    if (arguments.Frames) {
        if (files.size() > 1) {
            throw TUsageError("--frames draws one recording, not " + std::to_string(files.size()));
        }
        CheckRecordingOperands(files, "--frames");
    }
    std::vector<std::string> inputs = files;
    inputs.insert(inputs.end(), arguments.References.begin(), arguments.References.end());
    CheckOneStandardInput(inputs, arguments.List.FilesFrom == "-");
    if (arguments.Output != "-") {
        if (const auto same = FindSameFile(arguments.Output, inputs, {})) {
            throw TUsageError("the picture " + arguments.Output + " would overwrite " + *same + ", a file it draws");
        }
    }
    return files;
}

std::string PlotHelperPath(const std::string& exePath)
{
    const std::string folder = FolderPath(exePath);
    const std::string installed = JoinPath(folder, Platform::ExecutableName(TULVO_PLOT_FROM_BINDIR));
    if (Platform::IsRunnable(installed)) {
        return installed;
    }
    return JoinPath(folder, Platform::ExecutableName("tulvo-plot"));
}

int RunPlotCommand(const TPlotArguments&, TToolContext& context) { return RunDrawingHelper("plot", context); }

int RunDrawingHelper(std::string_view command, TToolContext& context)
{
    const std::string helper = PlotHelperPath(Platform::RunningProgramPath());
    std::vector<std::string> words{"tulvo-plot", std::string(command)};
    words.insert(words.end(), context.CommandWords.begin(), context.CommandWords.end());
    const int error = Platform::RunInPlaceOfThisProcess(helper, words);
    WriteToErr(context, ErrorLine(helper, "cannot run the drawing helper", -1, error));
    // Empty unless the build has no helper to run.
    constexpr std::string_view missingNote = TULVO_PLOT_MISSING_NOTE;
    if (!missingNote.empty()) {
        WriteToErr(context, std::string(ToolName) + ": " + std::string(missingNote) + "\n");
    }
    return ExitFailure;
}
