#include "cli/CommandTable.h"

#include "cli/BatchCommand.h"
#include "cli/CheckCommand.h"
#include "cli/CompareCommand.h"
#include "cli/MaskCommand.h"
#include "cli/PlotCommand.h"
#include "cli/ProbeCommand.h"
#include "cli/ReportCommand.h"
#include "cli/ShowCommand.h"

#include <array>

namespace {

const std::array<TCommand, 8> Commands{{
    {"batch", "[OPTIONS] RECORDING...", "write the spectrum file of each recording",
     "Analyses each recording (16384 samples after the 44-byte header, 51200 Hz) and\n"
     "writes its spectrum file beside it, or into --output-dir: the name with its last\n"
     "four characters replaced by \".spm\". The files are written in the given order,\n"
     "the work spread over the processors; without --keep-going the run stops at the\n"
     "first failing recording, and the spectrum files before it stay. A report that\n"
     "would overwrite a file of the run is refused before anything is written.\n"
     "SIGINT, SIGTERM or SIGHUP stop the run after the file being written, with the\n"
     "report's rows so far.",
     SetupCommand<TBatchArguments, DeclareBatchOptions, RunBatchCommand>},
    {"probe", "[OPTIONS] RECORDING...", "check that recordings are laid out as batch expects, as a CSV table",
     "Reads the first 4096 bytes of each recording, walks its RIFF chunks and prints\n"
     "one CSV row per recording: container, format, channels, rate, bits, where the\n"
     "samples start and how many bytes they take, and the verdict: \"ok\" for 1\n"
     "channel, 51200 Hz, 16-bit PCM with at least 32768 bytes of samples at byte 44,\n"
     "else what differs (batch analyses such a recording as raw samples, with a\n"
     "warning). RECORDING '-' reads one from standard input. Exit status 1 when any\n"
     "recording does not conform or cannot be read.",
     SetupCommand<TProbeArguments, DeclareProbeOptions, RunProbeCommand>},
    {"show", "[OPTIONS] FILE...", "print spectrum files as a CSV table",
     "Prints the spectra as one CSV table on stdout: a \"Frequency (Hz)\" column with\n"
     "the 361 lines from 1000 to 10000 Hz, then one column per file, or with --long\n"
     "one row per file and line. FILE '-' reads one spectrum file from standard input.\n"
     "With --frames FILE is a recording, analysed as batch analyses it: the values of\n"
     "the 15 frames of 40 ms behind its spectrum (starting every 20 ms) and their\n"
     "largest, or with --long any number of recordings, one row per frame and line.",
     SetupCommand<TShowArguments, DeclareShowOptions, RunShowCommand>},
    {"plot", "[OPTIONS] FILE... -o OUT.png", "draw spectrum files into a PNG picture",
     "Draws spectrum files with the program's own chart: one chart per file, stacked,\n"
     "or with --overlay all curves in one chart, in the colours of the comparison\n"
     "windows (red, green, blue, purple, black, brown). With --heatmap, one row per\n"
     "file instead, its colour the value (viridis, with a colour bar), optionally\n"
     "sorted by --sort against a --reference as compare sorts. With --frames, one\n"
     "recording: its waveform over the spectrogram of its 15 frames. The picture\n"
     "replaces OUT.png only once it is written whole; '-o -' writes the PNG to\n"
     "standard output, and an OUT whose name ends in .pdf gets the picture as PDF.",
     SetupCommand<TPlotArguments, DeclarePlotOptions, RunPlotCommand>},
    {"compare", "[OPTIONS] --reference REF.spm FILE...", "compare spectrum files with a reference, as a CSV table",
     "Prints one CSV row per file with figures against the reference (one file, or the\n"
     "line-by-line mean of every --reference): the peak and its shift from the\n"
     "reference's, the centroid, the correlation, the distance (RMS of the level\n"
     "differences in dB, each line clamped to 1e-6 of its spectrum's largest value)\n"
     "and the largest deviation with its frequency. Verdict is \"ok\", \"differs\" when a\n"
     "--max-distance or --min-correlation is crossed, or the error of a file that\n"
     "cannot be read. Exit status 1 when any file differs or cannot be read.",
     SetupCommand<TCompareArguments, DeclareCompareOptions, RunCompareCommand>},
    {"mask", "[OPTIONS] -o MASK.csv UNIT...", "learn a tolerance mask from known-good units",
     "Learns limits per line from known-good units, spectrum files (.spm) or recordings\n"
     "(.wav, analysed in memory as batch would, nothing written beside them): the\n"
     "centre is the median of the units' levels in dB, the spread 1.4826 times their\n"
     "median absolute deviation (never below --floor nor one code step), the limits\n"
     "--factor spreads from the centre, widened by the offsets; no limits on --exclude\n"
     "ranges. From recordings only, also a band for the level in dBFS. At least 5\n"
     "units (20 or more for a mask that is not rough); a unit that cannot be read\n"
     "leaves MASK.csv as it was. The mask is CSV with a comment block of its settings.\n"
     "With --max-hold the units are recordings only and each gives its max-hold\n"
     "spectrum, per line the largest of its 15 frames of 40 ms, instead of their\n"
     "average: a click or knock a few ms long counts in full, not diluted.",
     SetupCommand<TMaskArguments, DeclareMaskOptions, RunMaskCommand>},
    {"check", "[OPTIONS] --mask MASK.csv UNIT...", "check units against a tolerance mask, as a CSV table",
     "Prints one CSV row per unit (spectrum files or recordings, as for mask) in the\n"
     "given order: File,Verdict,Outside,Worst (Hz),Margin (dB),Level (dBFS),Level\n"
     "margin (dB). Verdict is \"ok\", \"differs\" when a line's level (or a recording's\n"
     "level) lies outside the mask's limits, or the error of a unit that cannot be\n"
     "read; Outside counts the lines outside; Worst is the line nearest to or furthest\n"
     "beyond its limits and Margin its distance to the nearer limit, negative when\n"
     "outside. Exit status 1 when any unit differs or cannot be read, or the mask\n"
     "cannot be read (then no rows). The mask says which spectrum of each unit is\n"
     "checked: its average, or for a mask learned with mask --max-hold the max-hold\n"
     "spectrum, which only recordings have (a spectrum file is then refused).",
     SetupCommand<TCheckArguments, DeclareCheckOptions, RunCheckCommand>},
    {"report", "[OPTIONS] -o REPORT.html UNIT...", "write a run's report: one self-contained HTML file",
     "Writes the report of a run over units (spectrum files or recordings, as for\n"
     "check) as one HTML file that needs nothing outside itself, to archive, print\n"
     "(A4) or send. With --mask the units are checked as check checks them: the mask's\n"
     "file, SHA-256 and settings, a summary line, a table of every unit with check's\n"
     "columns and its SHA-256 (failing units first, smallest margin first, then those\n"
     "that cannot be read, then the good ones), the spectra of the first --charts\n"
     "failing units against the mask, the heatmap of all units by margin, and the\n"
     "command that writes the report again. Without --mask, compare's figures against\n"
     "the units' median spectrum, most distant first, and the heatmap. No clock time\n"
     "unless --date: the same inputs give the same bytes. Exit status as check's.",
     SetupCommand<TReportArguments, DeclareReportOptions, RunReportCommand>},
}};

} // namespace

std::span<const TCommand> CommandTable() { return Commands; }

const TCommand* FindCommand(std::string_view name)
{
    for (const TCommand& command : Commands) {
        if (command.Name == name) {
            return &command;
        }
    }
    return nullptr;
}
