// The one parser of tulvo-cli: every option in both forms ("--opt=value",
// "--opt value", short forms), "--" ending the options, unknown options and
// missing values refused with exit status 2 and a pointer to --help, help
// and version on stdout, and the wording of error lines.

#include "ToolRun.h"

#include "cli/BatchCommand.h"
#include "cli/CommandLine.h"
#include "cli/CompareCommand.h"
#include "cli/ExitStatus.h"
#include "cli/PlotCommand.h"
#include "cli/ShowCommand.h"
#include "cli/ToolMessages.h"

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include <csignal>
#include <ostream>
#include <regex>

using namespace clitest;

namespace {

std::string Join(const std::vector<std::string>& words)
{
    std::string text;
    for (const auto& word : words) {
        text += (text.empty() ? "" : "|") + word;
    }
    return text;
}

// The parsed arguments of a command in one line, for comparing with a table.
std::string Describe(const TBatchArguments& a)
{
    return "files=" + Join(a.Recordings) + " list=" + a.List.FilesFrom + " null=" + std::to_string(a.List.Null) +
           " keep=" + std::to_string(a.KeepGoing) + " jobs=" + std::to_string(a.Jobs) + " report=" + a.ReportPath +
           " append=" + std::to_string(a.Append) + " out=" + a.OutputFolder + " update=" + std::to_string(a.Update) +
           " verbosity=" + std::to_string(static_cast<int>(a.Verbosity));
}

std::string Describe(const TShowArguments& a)
{
    return "files=" + Join(a.Files) + " list=" + a.List.FilesFrom + " null=" + std::to_string(a.List.Null) +
           " codes=" + std::to_string(a.Codes) + " long=" + std::to_string(a.Long);
}

std::string Describe(std::optional<TCompareSort> sort)
{
    return !sort ? "none" : *sort == TCompareSort::Distance ? "distance" : "correlation";
}

std::string Describe(const TPlotArguments& a)
{
    return "files=" + Join(a.Files) + " list=" + a.List.FilesFrom + " out=" + a.Output +
           " log=" + std::to_string(a.Logarithmic) + " overlay=" + std::to_string(a.Overlay) +
           " size=" + std::to_string(a.Width) + "x" + std::to_string(a.Height) +
           " heatmap=" + std::to_string(a.Heatmap) + " sort=" + Describe(a.Sort) + " refs=" + Join(a.References);
}

std::string Describe(const TCompareArguments& a)
{
    const auto limit = [](const std::optional<double>& value) { return value ? std::to_string(*value) : "none"; };
    return "files=" + Join(a.Files) + " refs=" + Join(a.References) + " list=" + a.List.FilesFrom +
           " max-distance=" + limit(a.Thresholds.MaxDistanceDb) +
           " min-correlation=" + limit(a.Thresholds.MinCorrelation) + " sort=" + Describe(a.Sort);
}

// Parses words as command does and describes the result.
template <class TArguments>
std::string Parse(const char* command, void (*declare)(CLI::App&, TArguments&), const std::vector<std::string>& words)
{
    const auto app = MakeCommandParser(*FindCommand(command));
    TArguments arguments;
    declare(*app, arguments);
    ParseWords(*app, words);
    return Describe(arguments);
}

struct TParseCase {
    const char* Name;
    const char* Command;
    std::vector<std::string> Words;
    const char* Parsed;
};

void PrintTo(const TParseCase& c, std::ostream* os) { *os << c.Name; }

class OptionForms : public testing::TestWithParam<TParseCase> {};

TEST_P(OptionForms, ParseToTheSameArguments)
{
    const TParseCase& c = GetParam();
    const std::string command = c.Command;
    std::string parsed;
    if (command == "batch") {
        parsed = Parse("batch", DeclareBatchOptions, c.Words);
    } else if (command == "show") {
        parsed = Parse("show", DeclareShowOptions, c.Words);
    } else if (command == "compare") {
        parsed = Parse("compare", DeclareCompareOptions, c.Words);
    } else {
        parsed = Parse("plot", DeclarePlotOptions, c.Words);
    }
    EXPECT_EQ(parsed, c.Parsed);
}

const char* const BatchDefaults = "files=a.wav list= null=0 keep=0 jobs=0 report= append=0 out= update=0 verbosity=1";

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, OptionForms,
    testing::Values(
        TParseCase{"BatchDefaults", "batch", {"a.wav"}, BatchDefaults},
        TParseCase{"JobsJoined", "batch", {"--jobs=3", "a.wav"},
                   "files=a.wav list= null=0 keep=0 jobs=3 report= append=0 out= update=0 verbosity=1"},
        TParseCase{"JobsSeparate", "batch", {"a.wav", "--jobs", "3"},
                   "files=a.wav list= null=0 keep=0 jobs=3 report= append=0 out= update=0 verbosity=1"},
        TParseCase{"JobsShort", "batch", {"-j3", "a.wav"},
                   "files=a.wav list= null=0 keep=0 jobs=3 report= append=0 out= update=0 verbosity=1"},
        TParseCase{"ReportAppendJoined", "batch", {"--report=r.csv", "--append", "a.wav"},
                   "files=a.wav list= null=0 keep=0 jobs=0 report=r.csv append=1 out= update=0 verbosity=1"},
        TParseCase{"ReportSeparate", "batch", {"--report", "-", "a.wav"},
                   "files=a.wav list= null=0 keep=0 jobs=0 report=- append=0 out= update=0 verbosity=1"},
        TParseCase{"OutputDirJoined", "batch", {"--output-dir=out", "-u", "a.wav"},
                   "files=a.wav list= null=0 keep=0 jobs=0 report= append=0 out=out update=1 verbosity=1"},
        TParseCase{"OutputDirSeparate", "batch", {"--output-dir", "out", "--update", "a.wav"},
                   "files=a.wav list= null=0 keep=0 jobs=0 report= append=0 out=out update=1 verbosity=1"},
        TParseCase{"FilesFromJoined", "batch", {"--files-from=list", "-0", "-k", "-q"},
                   "files= list=list null=1 keep=1 jobs=0 report= append=0 out= update=0 verbosity=0"},
        TParseCase{"FilesFromSeparate", "batch", {"--files-from", "list", "--null", "--keep-going", "--verbose"},
                   "files= list=list null=1 keep=1 jobs=0 report= append=0 out= update=0 verbosity=2"},
        TParseCase{"DoubleDashEndsOptions", "batch", {"a.wav", "--", "-k", "--jobs=2", "-"},
                   "files=a.wav|-k|--jobs=2|- list= null=0 keep=0 jobs=0 report= append=0 out= update=0 verbosity=1"},
        TParseCase{"ShowStdinAndLong", "show", {"-", "--long", "--codes"},
                   "files=- list= null=0 codes=1 long=1"},
        TParseCase{"ShowFilesFromSeparate", "show", {"--files-from", "-", "x.spm"},
                   "files=x.spm list=- null=0 codes=0 long=0"},
        TParseCase{"PlotShortOutput", "plot", {"a.spm", "-o", "p.png", "--size", "500x401"},
                   "files=a.spm list= out=p.png log=0 overlay=0 size=500x401 heatmap=0 sort=none refs="},
        TParseCase{"PlotJoinedOutputAndSize", "plot", {"--output=p.png", "--size=500x401", "a.spm", "--log"},
                   "files=a.spm list= out=p.png log=1 overlay=0 size=500x401 heatmap=0 sort=none refs="},
        TParseCase{"PlotDoubleDash", "plot", {"-o", "-", "--overlay", "--", "-a.spm"},
                   "files=-a.spm list= out=- log=0 overlay=1 size=0x0 heatmap=0 sort=none refs="},
        TParseCase{"PlotHeatmapSorted", "plot", {"--heatmap", "a.spm", "--sort=distance", "--reference", "r.spm", "b.spm", "-o", "h.png"},
                   "files=a.spm|b.spm list= out=h.png log=0 overlay=0 size=0x0 heatmap=1 sort=distance refs=r.spm"},
        // Each --reference takes one name; the operands around them stay files.
        TParseCase{"CompareReferences", "compare", {"--reference", "r1.spm", "a.spm", "--reference=r2.spm", "b.spm"},
                   "files=a.spm|b.spm refs=r1.spm|r2.spm list= max-distance=none min-correlation=none sort=none"},
        TParseCase{"CompareLimitsAndSort", "compare", {"a.spm", "--reference", "r.spm", "--max-distance=1.5",
                                                       "--min-correlation", "-0.25", "--sort", "correlation"},
                   "files=a.spm refs=r.spm list= max-distance=1.500000 min-correlation=-0.250000 sort=correlation"}),
    [](const testing::TestParamInfo<TParseCase>& info) { return std::string(info.param.Name); });
// clang-format on

struct TUsageCase {
    const char* Name;
    std::vector<std::string> Words;
    // A piece of the first line on stderr.
    const char* Message;
};

void PrintTo(const TUsageCase& c, std::ostream* os) { *os << c.Name; }

class UsageErrors : public testing::TestWithParam<TUsageCase> {};

TEST_P(UsageErrors, ExitTwoWithAPointerToHelp)
{
    const TToolRun run = RunToolInProcess(GetParam().Words);
    EXPECT_EQ(run.Status, ExitUsage);
    EXPECT_EQ(run.Out, "");
    const auto lines = Lines(run.Err);
    ASSERT_EQ(lines.size(), 2u) << run.Err;
    EXPECT_EQ(lines[0].rfind("tulvo-cli: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(GetParam().Message), std::string::npos) << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], std::regex("Try 'tulvo-cli ([a-z]+ )?--help' for more information.")))
        << lines[1];
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, UsageErrors,
    testing::Values(
        TUsageCase{"NoCommand", {}, "no command given"},
        TUsageCase{"UnknownCommand", {"frobnicate"}, "unknown command 'frobnicate'"},
        TUsageCase{"HelpForUnknownCommand", {"help", "frobnicate"}, "unknown command 'frobnicate'"},
        TUsageCase{"BatchWithoutFiles", {"batch", "--keep-going"}, "batch: no files given"},
        TUsageCase{"UnknownBatchOption", {"batch", "--bogus", "a.wav"}, "--bogus"},
        TUsageCase{"JobsZero", {"batch", "--jobs=0", "a.wav"}, "--jobs"},
        TUsageCase{"JobsNotANumber", {"batch", "--jobs", "two", "a.wav"}, "--jobs"},
        TUsageCase{"JobsWithoutValue", {"batch", "a.wav", "--jobs"}, "--jobs"},
        TUsageCase{"ReportWithoutValue", {"batch", "a.wav", "--report"}, "--report"},
        TUsageCase{"AppendWithoutReport", {"batch", "--append", "a.wav"}, "--report"},
        TUsageCase{"NullWithoutList", {"batch", "-0", "a.wav"}, "--files-from"},
        TUsageCase{"QuietAndVerbose", {"batch", "-q", "-v", "a.wav"}, "--verbose"},
        TUsageCase{"RecordingFromStdin", {"batch", "-"}, "--files-from -"},
        TUsageCase{"OutputDirMissing", {"batch", "--output-dir", "/nonexistent/folder", "a.wav"}, "not a folder"},
        TUsageCase{"UnknownShowOption", {"show", "--values", "a.spm"}, "--values"},
        TUsageCase{"StdinTwice", {"show", "-", "-"}, "only once"},
        TUsageCase{"StdinAndListFromStdin", {"show", "--files-from", "-", "-"}, "only once"},
        TUsageCase{"PlotWithoutOutput", {"plot", "a.spm"}, "--output"},
        TUsageCase{"PlotOutputWithoutName", {"plot", "a.spm", "-o"}, "--output"},
        TUsageCase{"PlotBadSize", {"plot", "a.spm", "-o", "x.png", "--size", "640-480"}, "WxH"},
        TUsageCase{"PlotZeroSize", {"plot", "a.spm", "-o", "x.png", "--size=0x480"}, "WxH"},
        TUsageCase{"PlotHugeSize", {"plot", "a.spm", "-o", "x.png", "--size", "20000x480"}, "WxH"},
        TUsageCase{"UnknownPlotOption", {"plot", "a.spm", "-o", "x.png", "--colour"}, "--colour"},
        TUsageCase{"HeatmapAndOverlay", {"plot", "--heatmap", "--overlay", "a.spm", "-o", "x.png"}, "--overlay"},
        TUsageCase{"SortWithoutHeatmap", {"plot", "--sort", "distance", "--reference", "r.spm", "a.spm", "-o", "x.png"},
                   "--heatmap"},
        TUsageCase{"SortWithoutReference", {"plot", "--heatmap", "--sort", "distance", "a.spm", "-o", "x.png"},
                   "--reference"},
        TUsageCase{"ReferenceWithoutSort", {"plot", "--heatmap", "--reference", "r.spm", "a.spm", "-o", "x.png"},
                   "--sort"},
        TUsageCase{"CompareWithoutReference", {"compare", "a.spm"}, "--reference"},
        TUsageCase{"CompareWithoutFiles", {"compare", "--reference", "r.spm"}, "no files given"},
        TUsageCase{"CompareUnknownSort", {"compare", "--reference", "r.spm", "--sort", "peak", "a.spm"}, "--sort"},
        TUsageCase{"CompareNegativeDistance", {"compare", "--reference", "r.spm", "--max-distance", "-1", "a.spm"},
                   "--max-distance"},
        TUsageCase{"CompareCorrelationAboveOne", {"compare", "--reference", "r.spm", "--min-correlation=1.5", "a.spm"},
                   "--min-correlation"},
        TUsageCase{"CompareStdinTwice", {"compare", "--reference", "-", "-"}, "only once"},
        TUsageCase{"MaskWithoutOutput", {"mask", "a.spm"}, "--output"},
        TUsageCase{"MaskReversedExclude", {"mask", "-o", "m.csv", "--exclude", "4600-4400", "a.spm"}, "--exclude"},
        TUsageCase{"MaskNegativeFactor", {"mask", "-o", "m.csv", "--factor", "-1", "a.spm"}, "--factor"},
        TUsageCase{"MaskInfiniteFloor", {"mask", "-o", "m.csv", "--floor=inf", "a.spm"}, "--floor"},
        TUsageCase{"CheckWithoutMask", {"check", "a.spm"}, "--mask"},
        TUsageCase{"CheckNeitherKind", {"check", "--mask", "m.csv", "a.txt"}, "neither a spectrum file"}),
    [](const testing::TestParamInfo<TUsageCase>& info) { return std::string(info.param.Name); });
// clang-format on

TEST(Help, EveryCommandHasOneUsageLineFormatAndOptions)
{
    for (const TCommand& command : CommandTable()) {
        const std::string name(command.Name);
        for (const auto& words : {std::vector<std::string>{name, "--help"}, std::vector<std::string>{"help", name},
                                  std::vector<std::string>{name, "a", "-h"}}) {
            const TToolRun run = RunToolInProcess(words);
            EXPECT_EQ(run.Status, ExitOk) << name;
            EXPECT_EQ(run.Err, "");
            EXPECT_EQ(run.Out.rfind("Usage: tulvo-cli " + name + " [OPTIONS] ", 0), 0u) << run.Out;
            EXPECT_NE(run.Out.find("\nOptions:\n  -h, --help "), std::string::npos) << run.Out;
        }
    }
}

TEST(Help, ToolHelpListsTheCommandsAndVersionIsOneLine)
{
    for (const auto& word : {"--help", "-h", "help"}) {
        const TToolRun run = RunToolInProcess({word});
        EXPECT_EQ(run.Status, ExitOk);
        EXPECT_EQ(run.Out.rfind("Usage: tulvo-cli COMMAND ", 0), 0u);
        for (const TCommand& command : CommandTable()) {
            EXPECT_NE(run.Out.find("\n  " + std::string(command.Name) + " "), std::string::npos) << command.Name;
        }
    }
    for (const auto& word : {"--version", "-V"}) {
        const TToolRun run = RunToolInProcess({word});
        EXPECT_EQ(run.Status, ExitOk);
        EXPECT_TRUE(std::regex_match(run.Out, std::regex("tulvo-cli [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << run.Out;
    }
}

} // namespace
