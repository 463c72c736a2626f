#pragma once

#include "core/base/Language.h"
#include "core/qc/SpectrumComparison.h"
#include "core/qc/ToleranceMask.h"
#include "core/qc/UnitCheck.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The report of a run over units: what was checked, against what, what came
// out, in an order that puts what needs a look first. With a mask the units
// are judged as tulvo-cli check judges them (CheckUnitsInTurn of
// core/qc/UnitCheck.h); without one they are ranked by compare's figures
// against the line-by-line median spectrum of the units that can be read
// (RankAgainstMedian). RunReportHtml.h writes it as a document; tulvo-cli
// report and the check window fill it alike, so that the same mask and units
// give the same document.

// The language every text of a report is in.
using TReportLanguage = TLanguage;

// "en" or "ru".
std::string_view ReportLanguageName(TReportLanguage language);

// The language called name ("en", "ru"); nothing for another name.
std::optional<TReportLanguage> ReportLanguageNamed(std::string_view name);

// How many hex digits of a SHA-256 a report shows, of a mask and of each unit.
inline constexpr std::size_t ReportDigestDigits = 16;

// The charts of failing units a report draws unless told otherwise.
inline constexpr int DefaultReportCharts = 20;

// The mask the units were checked against.
struct TReportMask {
    std::string Path;   // as given
    std::string Digest; // the first ReportDigestDigits hex digits (lower case) of its file's SHA-256
    TToleranceMask Mask;
};

// One unit of the run: judged against the mask (TJudgedUnit's Verdict), or else ranked by its
// figures against the median spectrum (Figures); not read, its Failure says why.
struct TReportUnit : TJudgedUnit {
    std::string Digest; // as the mask's, of the bytes read; empty when they could not be read
    std::optional<TSpectrumFigures> Figures;
};

// What the run was given besides the mask and the units.
struct TReportSettings {
    std::string Title;       // given, or DefaultReportTitle
    bool TitleGiven = false; // the title was given (--title)
    std::optional<std::string> Date;
    int Charts = DefaultReportCharts; // how many failing units get a chart, from 0
    TReportLanguage Language = TReportLanguage::English;
    bool Strict = false;      // a nonconforming recording failed instead of being analysed as raw samples
    bool Logarithmic = false; // the heatmap's colours on a logarithmic scale
};

// A run to report.
struct TRunReport {
    TReportSettings Settings;
    std::optional<TReportMask> Mask;
    std::vector<TReportUnit> Units; // in the given order
};

// The title of a run whose first unit is firstUnit: the name of the folder it is in, as written
// in its path when that names one, else as the folder resolves ("unit.spm" in /data/batch7 gives
// "batch7"); empty when there is none (standard input, a file at the root, a folder that does not
// resolve).
std::string DefaultReportTitle(const std::string& firstUnit);

// Ranks the units of a report without a mask: fills each unit's figures (CompareBand) against
// MedianLevels of the bands of every unit read (none when no unit could be read).
void RankAgainstMedian(TRunReport& report);

// A unit's place in the report: judged ok or failing, or not read.
enum class TReportOutcome { Ok, Fails, Unread };
TReportOutcome OutcomeOf(const TReportUnit& unit);

// The units' indices in the order of the report's table. With a mask: FailuresFirstOrder of their
// verdicts (core/qc/ToleranceMask.h), as the check window lists them. Without: the units read most different first
// (DifferenceRank by distance, MostDifferentFirst), then those not read in the given order.
std::vector<std::size_t> ReportTableOrder(const TRunReport& report);

// The rows of the heatmap, every unit read: with a mask by SmallestMarginDb from the smallest,
// without in the table's order.
std::vector<std::size_t> ReportHeatmapOrder(const TRunReport& report);

// The failing units that get a chart: the first Settings.Charts of them in the table's order
// (none without a mask).
std::vector<std::size_t> ReportChartedUnits(const TRunReport& report);

// How many units came out how.
TCheckCounts CountOutcomes(const TRunReport& report);

// word as one word of a POSIX shell: as it is when made only of letters, digits and "@%+=:,./_-"
// (and not empty), else in single quotes, a quote inside as '\''.
std::string ShellQuoted(std::string_view word);

// The command that writes this report again: "tulvo-cli report", the options given that change
// it (--mask, --title, --date, --charts when not the default, --lang ru, --log, --strict), "-o
// REPORT.html", then the units in the given order, after "--" when one of them starts with '-'
// and is not "-"; each word ShellQuoted, separated by spaces.
std::string ReportCommandLine(const TRunReport& report);
