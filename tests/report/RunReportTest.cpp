// A run's report in core: outside text made safe, the order that puts what needs a look first,
// the summary and the command that writes the report again, and a document that needs nothing
// outside itself and speaks one language throughout.

#include "report/HtmlText.h"
#include "report/RunReportHtml.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <regex>
#include <set>
#include <stdexcept>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

struct TEscapeCase {
    const char* Name;
    std::string Text;
    std::string Html;
};

void PrintTo(const TEscapeCase& c, std::ostream* os) { *os << c.Name; }

class Escaping : public testing::TestWithParam<TEscapeCase> {};

TEST_P(Escaping, ShowsTheTextNeverMarkupAndStaysUtf8) { EXPECT_EQ(HtmlEscaped(GetParam().Text), GetParam().Html); }

INSTANTIATE_TEST_SUITE_P(
    Texts, Escaping,
    testing::Values(TEscapeCase{"hostile_name", "a&b <i>.spm", "a&amp;b &lt;i&gt;.spm"},
                    TEscapeCase{"quotes", "it's \"x\"", "it&#39;s &quot;x&quot;"},
                    TEscapeCase{"cyrillic_and_four_bytes", "Записи \xF0\x9F\x94\x8A", "Записи \xF0\x9F\x94\x8A"},
                    TEscapeCase{"line_break_tab_del", "a\nb\tc\x7F",
                                "a\xE2\x90\x8A"
                                "b\xE2\x90\x89"
                                "c\xE2\x90\xA1"},
                    TEscapeCase{"stray_continuation", "a\x80z", "a\xEF\xBF\xBDz"},
                    TEscapeCase{"overlong_slash", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
                    TEscapeCase{"surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
                    TEscapeCase{"cut_short", "\xD0", "\xEF\xBF\xBD"},
                    TEscapeCase{"c1_control", "\xC2\x85", "\xEF\xBF\xBD"}),
    [](const testing::TestParamInfo<TEscapeCase>& info) { return std::string(info.param.Name); });

// A unit read, with a verdict whose line margin is lineMargin and level margin levelMargin.
TReportUnit Judged(std::string name, double lineMargin, std::optional<double> levelMargin = std::nullopt)
{
    TReportUnit unit;
    unit.File = std::move(name);
    unit.Digest = "0123456789abcdef";
    unit.Unit = TUnit{};
    TMaskVerdict verdict;
    verdict.WorstLine = 120;
    verdict.WorstMarginDb = lineMargin;
    verdict.LevelMarginDb = levelMargin;
    verdict.Outside = lineMargin < 0 ? 3 : 0;
    verdict.LevelOutside = levelMargin && *levelMargin < 0;
    verdict.Ok = verdict.Outside == 0 && !verdict.LevelOutside;
    unit.Verdict = verdict;
    return unit;
}

TReportUnit Unread(std::string name)
{
    TReportUnit unit;
    unit.File = std::move(name);
    unit.Failure = "File not found";
    return unit;
}

// Units given in this order: good, failing, unread, failing by its level only, good, failing.
TRunReport MaskedReport()
{
    TRunReport report;
    report.Mask = TReportMask{"mask.csv", "fedcba9876543210", TToleranceMask{}};
    report.Units = {Judged("good1", 2.0),         Judged("fails-1dB", -1.0), Unread("gone"),
                    Judged("level-3dB", 1.5, -3), Judged("good2", 0.5),      Judged("fails-1dB-too", -1.0)};
    return report;
}

TEST(RunReportOrder, FailingBySmallestMarginThenUnreadThenGoodAsGiven)
{
    TRunReport report = MaskedReport();
    // The level's margin ranks a unit that fails by its level; equal margins keep their order.
    EXPECT_EQ(ReportTableOrder(report), (std::vector<std::size_t>{3, 1, 5, 2, 0, 4}));
    EXPECT_EQ(ReportHeatmapOrder(report), (std::vector<std::size_t>{3, 1, 5, 4, 0}));
    report.Settings.Charts = 2;
    EXPECT_EQ(ReportChartedUnits(report), (std::vector<std::size_t>{3, 1}));
    report.Settings.Charts = 0;
    EXPECT_TRUE(ReportChartedUnits(report).empty());
    EXPECT_EQ(SmallestMarginDb(*Judged("no-limits", NaN).Verdict), std::numeric_limits<double>::infinity());
}

// A unit read whose every line is value, but line 100 is peak.
TReportUnit Spectrum(std::string name, single value, single peak)
{
    TReportUnit unit;
    unit.File = std::move(name);
    unit.Unit = TUnit{};
    unit.Unit->Spectrum.Values.fill(value);
    unit.Unit->Spectrum.Values[100] = peak;
    return unit;
}

TEST(RunReportOrder, WithoutMaskMostDistantFromTheMedianFirstAndTheOddOneMovesNoMedian)
{
    TRunReport report;
    report.Units = {Spectrum("a", 1, 4), Unread("gone"), Spectrum("odd", 1, 400), Spectrum("b", 1, 4),
                    Spectrum("c", 1, 5)};
    RankAgainstMedian(report);
    // The median's line 100 is 4.5 (between 4 and 5): a mean would be 103.25, and "odd" would
    // not stand far from the others.
    EXPECT_NEAR(report.Units[0].Figures->MaxDeviationDb, 10 * std::log10(4.5 / 4), 1e-6);
    EXPECT_NEAR(report.Units[2].Figures->MaxDeviationDb, 10 * std::log10(400 / 4.5), 1e-6);
    EXPECT_EQ(ReportTableOrder(report), (std::vector<std::size_t>{2, 0, 3, 4, 1}));
    EXPECT_EQ(ReportHeatmapOrder(report), (std::vector<std::size_t>{2, 0, 3, 4}));
    EXPECT_FALSE(report.Units[1].Figures);
    EXPECT_THROW(MedianLevels({}), std::invalid_argument);
}

TEST(RunReportText, SummaryInEitherLanguage)
{
    TRunReport report = MaskedReport();
    EXPECT_EQ(ReportSummary(report), "6 units: 2 ok, 3 differs, 1 cannot be read");
    report.Settings.Language = TReportLanguage::Russian;
    EXPECT_EQ(ReportSummary(report), "Проверено: 6, годных: 2, негодных: 3, ошибок: 1");
    report.Mask.reset();
    report.Units.resize(1);
    EXPECT_EQ(ReportSummary(report), "Сравнено с медианным спектром: 1");
    report.Settings.Language = TReportLanguage::English;
    EXPECT_EQ(ReportSummary(report), "1 unit ranked against their median spectrum");
}

TEST(RunReportText, CommandLineWritesTheReportAgainInAShell)
{
    TRunReport report = MaskedReport();
    report.Mask->Path = "good units/mask.csv";
    report.Settings = {"Batch 7", true, "2025-12-08", 5, TReportLanguage::Russian, true, true};
    report.Units = {Unread("it's.spm"), Unread("-"), Unread("-odd.wav")};
    EXPECT_EQ(ReportCommandLine(report), "tulvo-cli report --mask 'good units/mask.csv' --title 'Batch 7' --date "
                                         "2025-12-08 --charts 5 --lang ru --log --strict -o REPORT.html -- "
                                         "'it'\\''s.spm' - -odd.wav");
    report.Mask.reset();
    report.Settings = {};
    report.Units = {Unread("a.spm")};
    EXPECT_EQ(ReportCommandLine(report), "tulvo-cli report -o REPORT.html a.spm");
    EXPECT_EQ(ShellQuoted(""), "''");
}

TEST(RunReportText, DefaultTitleIsTheFirstUnitsFolder)
{
    EXPECT_EQ(DefaultReportTitle("data/batch7/unit01.spm"), "batch7");
    EXPECT_EQ(DefaultReportTitle("-"), "");
    EXPECT_EQ(DefaultReportTitle("/unit01.spm"), "");
    // A bare name: the working folder, resolved (a test never runs at the root).
    EXPECT_FALSE(DefaultReportTitle("x.spm").empty());
}

// The document of report with a one-pixel picture for each chart and the heatmap.
std::string Document(const TRunReport& report)
{
    const TReportPicture dot{"iVBORw0KGgo=", 1, 1};
    TReportPictures pictures;
    pictures.Charts.assign(ReportChartedUnits(report).size(), dot);
    pictures.Heatmap = dot;
    return RunReportHtml(report, pictures);
}

TEST(RunReportHtml, PointsNowhereOutsideItselfAndShowsNamesAsText)
{
    TRunReport report = MaskedReport();
    report.Units[1].File = "a&b <i>.spm";
    report.Units[2].File = "<a href=\"http://x\">x</a>";
    const std::string html = Document(report);
    // Text from outside holds no '<' once escaped, so every tag is the writer's own.
    const std::regex tag("<[^>]*>");
    const std::regex reference(R"re(\b(src|href|action|poster|srcset|data)\s*=\s*["']?([^"' >]*))re",
                               std::regex::icase);
    int references = 0;
    for (auto t = std::sregex_iterator(html.begin(), html.end(), tag); t != std::sregex_iterator(); ++t) {
        const std::string text = t->str();
        for (auto it = std::sregex_iterator(text.begin(), text.end(), reference); it != std::sregex_iterator(); ++it) {
            EXPECT_EQ((*it)[2].str().rfind("data:image/png;base64,", 0), 0u) << (*it)[0];
            ++references;
        }
    }
    EXPECT_EQ(references, 4); // the three failing units' charts and the heatmap
    EXPECT_EQ(html.find("url("), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_NE(html.find("a&amp;b &lt;i&gt;.spm"), std::string::npos);
    EXPECT_EQ(html.find("a&b"), std::string::npos);
    EXPECT_THROW(RunReportHtml(report, {}), std::invalid_argument);
}

// The words of a document's text (outside tags, the pictures and the command line) made of
// three or more Latin letters.
std::set<std::string> LatinWords(std::string html)
{
    // Cut by hand: a regular expression's match of a whole style block recurses once a character
    // in libstdc++ and overflows the stack of a sanitised build.
    std::string text;
    for (std::size_t at = 0; at < html.size();) {
        if (html[at] != '<') {
            text += html[at++];
            continue;
        }
        std::string end = ">";
        for (const char* block : {"style", "pre"}) {
            if (html.compare(at, std::strlen(block) + 2, "<" + std::string(block) + ">") == 0) {
                end = "</" + std::string(block) + ">";
            }
        }
        const std::size_t close = html.find(end, at + 1);
        at = close == std::string::npos ? html.size() : close + end.size();
        text += ' ';
    }
    html = std::move(text);
    std::set<std::string> words;
    const std::regex word("[A-Za-z]{3,}");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it) {
        words.insert(it->str());
    }
    return words;
}

TEST(RunReportHtml, RussianReportHasNoEnglishWordLeft)
{
    for (const bool masked : {true, false}) {
        TRunReport report = MaskedReport();
        if (!masked) {
            report.Mask.reset();
            RankAgainstMedian(report);
        }
        report.Settings.Language = TReportLanguage::Russian;
        report.Settings.Date = "8 декабря 2025";
        if (report.Mask) {
            report.Mask->Path = "допуск";
            report.Mask->Digest = "0123456789";
        }
        for (TReportUnit& unit : report.Units) {
            unit.File = "изделие";
            unit.Failure = "нет файла";
            unit.Digest = "0123456789";
        }
        // What stays: the program's name, the digest's and the level's units, an option's name.
        const std::set<std::string> kept{"tulvo", "SHA", "dBFS", "strict"};
        for (const std::string& word : LatinWords(Document(report))) {
            EXPECT_TRUE(kept.count(word))
                << "'" << word << "' in the Russian report" << (masked ? "" : " without mask");
        }
    }
}

} // namespace
