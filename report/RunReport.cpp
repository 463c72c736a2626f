#include "report/RunReport.h"

#include "core/base/Paths.h"
#include "core/files/FileReplacement.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

// The units read (judged ok or failing), in the given order.
std::vector<std::size_t> UnitsRead(const TRunReport& report)
{
    std::vector<std::size_t> indices;
    for (std::size_t k = 0; k < report.Units.size(); ++k) {
        if (report.Units[k].Unit) {
            indices.push_back(k);
        }
    }
    return indices;
}

// indices ordered by SmallestMarginDb from the smallest, equal ones as they are.
void SortByMargin(const TRunReport& report, std::vector<std::size_t>& indices)
{
    std::stable_sort(indices.begin(), indices.end(), [&](std::size_t a, std::size_t b) {
        return SmallestMarginDb(*report.Units[a].Verdict) < SmallestMarginDb(*report.Units[b].Verdict);
    });
}

// A name of a folder, not one of the names that stand for another ("", ".", "..").
bool IsFolderName(const std::string& name) { return !name.empty() && name != "." && name != ".."; }

bool IsShellSafe(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("@%+=:,./_-").find(c) != std::string_view::npos;
}

} // namespace

std::string_view ReportLanguageName(TReportLanguage language)
{
    return language == TReportLanguage::Russian ? "ru" : "en";
}

std::optional<TReportLanguage> ReportLanguageNamed(std::string_view name)
{
    for (const TReportLanguage language : {TReportLanguage::English, TReportLanguage::Russian}) {
        if (ReportLanguageName(language) == name) {
            return language;
        }
    }
    return std::nullopt;
}

std::string DefaultReportTitle(const std::string& firstUnit)
{
    if (firstUnit == "-") {
        return {};
    }
    const std::string folder = FolderPath(firstUnit);
    const std::string written = FileNamePart(folder);
    if (IsFolderName(written)) {
        return written;
    }
    if (PathRootLength(folder) == folder.size() && folder != ".") {
        return {}; // the root itself
    }
    const auto resolved = CanonicalFolder(folder);
    if (!resolved) {
        return {};
    }
    const std::string name = FileNamePart(*resolved);
    return IsFolderName(name) ? name : std::string();
}

void RankAgainstMedian(TRunReport& report)
{
    std::vector<TBandValues> bands;
    for (const TReportUnit& unit : report.Units) {
        if (unit.Unit) {
            bands.push_back(unit.Unit->Spectrum.Values);
        }
    }
    if (bands.empty()) {
        return;
    }
    const TBandLevels median = MedianLevels(bands);
    for (TReportUnit& unit : report.Units) {
        if (unit.Unit) {
            unit.Figures = CompareBand(unit.Unit->Spectrum.Values, median);
        }
    }
}

TReportOutcome OutcomeOf(const TReportUnit& unit)
{
    if (!unit.Unit) {
        return TReportOutcome::Unread;
    }
    return unit.Verdict && !unit.Verdict->Ok ? TReportOutcome::Fails : TReportOutcome::Ok;
}

std::vector<std::size_t> ReportTableOrder(const TRunReport& report)
{
    std::vector<std::size_t> order;
    if (report.Mask) {
        std::vector<const TMaskVerdict*> verdicts;
        for (const TReportUnit& unit : report.Units) {
            verdicts.push_back(unit.Unit ? &*unit.Verdict : nullptr);
        }
        return FailuresFirstOrder(verdicts);
    }
    // As compare --sort distance: the units not read rank below every figure, so they come last.
    std::vector<double> ranks;
    for (const TReportUnit& unit : report.Units) {
        ranks.push_back(unit.Figures ? DifferenceRank(*unit.Figures, TCompareSort::Distance) : -Infinity);
    }
    return MostDifferentFirst(ranks);
}

std::vector<std::size_t> ReportHeatmapOrder(const TRunReport& report)
{
    if (report.Mask) {
        std::vector<std::size_t> order = UnitsRead(report);
        SortByMargin(report, order);
        return order;
    }
    std::vector<std::size_t> order = ReportTableOrder(report);
    std::erase_if(order, [&](std::size_t k) { return !report.Units[k].Unit; });
    return order;
}

std::vector<std::size_t> ReportChartedUnits(const TRunReport& report)
{
    std::vector<std::size_t> charted;
    for (const std::size_t k : ReportTableOrder(report)) {
        if (static_cast<int>(charted.size()) >= report.Settings.Charts ||
            OutcomeOf(report.Units[k]) != TReportOutcome::Fails) {
            break;
        }
        charted.push_back(k);
    }
    return charted;
}

TCheckCounts CountOutcomes(const TRunReport& report)
{
    TCheckCounts counts;
    counts.Units = report.Units.size();
    for (const TReportUnit& unit : report.Units) {
        switch (OutcomeOf(unit)) {
        case TReportOutcome::Ok: ++counts.Ok; break;
        case TReportOutcome::Fails: ++counts.Differs; break;
        case TReportOutcome::Unread: ++counts.Unread; break;
        }
    }
    return counts;
}

std::string ShellQuoted(std::string_view word)
{
    if (!word.empty() && std::all_of(word.begin(), word.end(), IsShellSafe)) {
        return std::string(word);
    }
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string ReportCommandLine(const TRunReport& report)
{
    const TReportSettings& settings = report.Settings;
    std::vector<std::string> words{"tulvo-cli", "report"};
    const auto add = [&](std::string option, std::string value) {
        words.push_back(std::move(option));
        words.push_back(std::move(value));
    };
    if (report.Mask) {
        add("--mask", report.Mask->Path);
    }
    if (settings.TitleGiven) {
        add("--title", settings.Title);
    }
    if (settings.Date) {
        add("--date", *settings.Date);
    }
    if (settings.Charts != DefaultReportCharts) {
        add("--charts", std::to_string(settings.Charts));
    }
    if (settings.Language != TReportLanguage::English) {
        add("--lang", std::string(ReportLanguageName(settings.Language)));
    }
    if (settings.Logarithmic) {
        words.emplace_back("--log");
    }
    if (settings.Strict) {
        words.emplace_back("--strict");
    }
    add("-o", "REPORT.html");
    if (std::any_of(report.Units.begin(), report.Units.end(),
                    [](const TReportUnit& unit) { return unit.File.size() > 1 && unit.File[0] == '-'; })) {
        words.emplace_back("--");
    }
    for (const TReportUnit& unit : report.Units) {
        words.push_back(unit.File);
    }
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) {
            line += ' ';
        }
        line += ShellQuoted(word);
    }
    return line;
}
