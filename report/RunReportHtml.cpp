#include "report/RunReportHtml.h"

#include "core/base/AnalysisConstants.h"
#include "core/base/CsvText.h"
#include "report/HtmlText.h"

#include "TulvoVersion.h"

#include <array>
#include <cmath>
#include <stdexcept>

namespace {

// Every word of a report in one language.
struct TReportWords {
    const char* Language;
    const char* Untitled;
    const char* Program; // followed by the version
    // The mask.
    const char* MaskHeading;
    const char* MaskFile;
    const char* MaskDigest;
    const char* MaskUnits;
    const char* MaskKind;
    const char* KindAverage;
    const char* Factor;
    const char* UpperOffset;
    const char* LowerOffset;
    const char* Floor;
    const char* Excluded;
    const char* NoneExcluded;
    const char* LevelBand;
    const char* LevelFrom;
    const char* LevelTo;
    const char* NoLimit;
    // The table.
    const char* UnitsHeading;
    std::array<const char*, 8> CompareColumns;
    const char* Digest;
    // The charts and the heatmap.
    const char* ChartsHeading;
    // "Charts of N of the M failing units...": ChartsNote, N, ChartsOf, M, ChartsNoteEnd.
    const char* ChartsNote;
    const char* ChartsOf;
    const char* ChartsNoteEnd;
    const char* OutsideLines;
    const char* WorstAt;
    const char* MarginOf;
    const char* LevelMarginOf;
    const char* Hz;
    const char* Db;
    const char* HeatmapHeading;
    const char* HeatmapByMargin;
    const char* HeatmapByDistance;
    // The settings.
    const char* SettingsHeading;
    const char* NoMask;
    const char* UnitsGiven;
    const char* Nonconforming;
    const char* AnalysedAsRaw;
    const char* Refused;
    const char* ChartsSetting;
    const char* ValueScale;
    const char* LinearScale;
    const char* LogarithmicScale;
    const char* TitleSetting;
    const char* TitleFromFolder;
    const char* DateSetting;
    const char* NoDate;
    const char* LanguageSetting;
    const char* LanguageShown;
    const char* CommandLine;
};

const TReportWords English{
    "en",
    "Report",
    "Report of tulvo ",
    "Mask",
    "File",
    "SHA-256 (first 16 hex digits)",
    "Learned from units",
    "Spectrum",
    "average",
    "Factor (spreads)",
    "Upper offset (dB)",
    "Lower offset (dB)",
    "Floor (dB)",
    "Excluded (Hz)",
    "none",
    "Level band (dBFS)",
    "from",
    "to",
    "no limit",
    "Units",
    {"File", "Peak (Hz)", "Peak shift (Hz)", "Centroid (Hz)", "Correlation", "Distance (dB)", "Max deviation (dB)",
     "Max deviation at (Hz)"},
    "SHA-256",
    "Failing units against the mask",
    "Charts of ",
    "of the",
    " failing units, in the table's order; the lines outside the limits in red.",
    "lines outside: ",
    "worst at ",
    "margin ",
    "level margin ",
    "Hz",
    "dB",
    "All units",
    "One row per unit read, the smallest margin first.",
    "One row per unit read, the most distant from the median spectrum first.",
    "Settings",
    "none: the units ranked by their distance from their median spectrum (line by line)",
    "Units given",
    "Recordings not laid out as expected",
    "analysed as raw samples, with a warning",
    "refused (--strict)",
    "Charts of failing units, at most",
    "Heatmap colours",
    "linear",
    "logarithmic (--log)",
    "Title",
    "the first unit's folder",
    "Date",
    "not given",
    "Language",
    "English (en)",
    "The command that writes this report again",
};

const TReportWords Russian{
    "ru",
    "Отчёт",
    "Отчёт программы tulvo ",
    "Допуск",
    "Файл",
    "SHA-256 (первые 16 шестнадцатеричных цифр)",
    "Изделий при обучении",
    "Спектр",
    "средний",
    "Множитель разброса",
    "Сдвиг верхней границы, дБ",
    "Сдвиг нижней границы, дБ",
    "Наименьший разброс, дБ",
    "Исключено, Гц",
    "нет",
    "Полоса уровня, дБFS",
    "от",
    "до",
    "без границы",
    "Изделия",
    {"Файл", "Пик, Гц", "Сдвиг пика, Гц", "Центроид, Гц", "Корреляция", "Расстояние, дБ", "Наибольшее отклонение, дБ",
     "Частота наибольшего отклонения, Гц"},
    "SHA-256",
    "Негодные изделия и допуск",
    "Графики ",
    "из",
    " негодных изделий, в порядке таблицы; линии вне допуска красные.",
    "вне допуска: ",
    "худшая линия: ",
    "запас: ",
    "запас уровня: ",
    "Гц",
    "дБ",
    "Все изделия",
    "По строке на каждое прочитанное изделие, от наименьшего запаса.",
    "По строке на каждое прочитанное изделие, от самого далёкого от медианного спектра.",
    "Параметры",
    "нет: изделия упорядочены по расстоянию от их медианного спектра (по линиям)",
    "Изделий задано",
    "Записи не по формату",
    "анализируются как отсчёты, с предупреждением",
    "отвергаются (--strict)",
    "Графиков негодных изделий, не более",
    "Цвета тепловой карты",
    "линейная",
    "логарифмическая (--log)",
    "Заголовок",
    "папка первого изделия",
    "Дата",
    "не задана",
    "Язык",
    "русский (ru)",
    "Команда, которая составит этот отчёт снова",
};

const TReportWords& WordsOf(TReportLanguage language)
{
    return language == TReportLanguage::Russian ? Russian : English;
}

// The styles: a page of A4, the table's header on every printed page, no picture or row split.
constexpr std::string_view Styles = R"(@page { size: A4; margin: 14mm 12mm; }
html { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
body { font: 10pt/1.35 "DejaVu Sans", Arial, sans-serif; color: #111; max-width: 186mm; margin: 0 auto; padding: 6mm 0; }
h1 { font-size: 17pt; margin: 0 0 1mm; }
h2 { font-size: 12.5pt; margin: 7mm 0 2mm; border-bottom: 1px solid #999; break-after: avoid; page-break-after: avoid; }
p.program { color: #555; margin: 0 0 4mm; }
p.note { break-after: avoid; page-break-after: avoid; }
p.summary { font-size: 12.5pt; font-weight: bold; margin: 5mm 0; padding: 2mm 3mm; background: #f4f4f4; border-left: 5px solid #2e7d32; }
p.summary.fails { border-left-color: #c62828; }
table { border-collapse: collapse; }
table.facts th { text-align: left; font-weight: normal; color: #444; padding: 0.4mm 6mm 0.4mm 0; vertical-align: top; }
table.facts td { padding: 0.4mm 0; overflow-wrap: anywhere; }
table.units { width: 100%; font-size: 8.5pt; }
table.units thead { display: table-header-group; }
table.units th, table.units td { border: 1px solid #bbb; padding: 0.5mm 1.4mm; vertical-align: top; }
table.units th { background: #e6e6e6; text-align: left; }
table.units tr { break-inside: avoid; page-break-inside: avoid; }
td.file { overflow-wrap: anywhere; }
td.n { width: 1%; text-align: right; white-space: nowrap; }
td.digest { width: 1%; font-family: "DejaVu Sans Mono", monospace; white-space: nowrap; }
td.ok, td.fails { width: 1%; white-space: nowrap; }
td.ok { background: #d7ecd7; }
td.fails { background: #f6cfcc; }
td.unread { background: #ececec; }
figure { margin: 3mm 0 5mm; break-inside: avoid; page-break-inside: avoid; }
figure img { display: block; max-width: 100%; height: auto; }
figcaption { font-size: 9pt; margin-top: 1mm; overflow-wrap: anywhere; }
pre { font-size: 8pt; white-space: pre-wrap; overflow-wrap: anywhere; background: #f4f4f4; padding: 2mm; }
)";

std::string Fixed(double value, int decimals) { return FormatFixed(value, decimals); }

// "<tr><th>label</th><td>value</td></tr>" with value already HTML.
std::string FactRow(std::string_view label, const std::string& valueHtml)
{
    return "<tr><th>" + std::string(label) + "</th><td>" + valueHtml + "</td></tr>\n";
}

std::string Cell(std::string_view cssClass, const std::string& html)
{
    std::string cell = "<td";
    if (!cssClass.empty()) {
        cell += " class=\"" + std::string(cssClass) + "\"";
    }
    return cell + ">" + html + "</td>";
}

std::string KindText(TSpectrumKind kind, const TReportWords& words)
{
    return kind == TSpectrumKind::Average ? words.KindAverage : HtmlEscaped(SpectrumKindName(kind));
}

std::string LimitText(const std::optional<double>& limit, const TReportWords& words)
{
    return limit ? Fixed(*limit, 3) : words.NoLimit;
}

std::string MaskSection(const TReportMask& mask, const TReportWords& words)
{
    const TMaskOptions& options = mask.Mask.Options;
    std::string excluded;
    for (const TFrequencyRange& range : options.Excluded) {
        excluded += (excluded.empty() ? "" : ", ") + FrequencyRangeText(range);
    }
    std::string html = "<section>\n<h2>" + std::string(words.MaskHeading) + "</h2>\n<table class=\"facts\">\n";
    html += FactRow(words.MaskFile, HtmlEscaped(mask.Path));
    html += FactRow(words.MaskDigest, "<code>" + HtmlEscaped(mask.Digest) + "</code>");
    html += FactRow(words.MaskUnits, std::to_string(mask.Mask.Units));
    html += FactRow(words.MaskKind, KindText(options.Kind, words));
    html += FactRow(words.Factor, FormatShortest(options.Factor));
    html += FactRow(words.UpperOffset, FormatShortest(options.UpperOffsetDb));
    html += FactRow(words.LowerOffset, FormatShortest(options.LowerOffsetDb));
    html += FactRow(words.Floor, FormatShortest(options.FloorDb));
    html += FactRow(words.Excluded, excluded.empty() ? std::string(words.NoneExcluded) : excluded);
    if (mask.Mask.Level) {
        const TLevelBand& level = *mask.Mask.Level;
        html += FactRow(words.LevelBand, Fixed(level.CentreDbfs, 3) + " (" + words.LevelFrom + " " +
                                             LimitText(level.LowerDbfs, words) + " " + words.LevelTo + " " +
                                             LimitText(level.UpperDbfs, words) + ")");
    }
    return html + "</table>\n</section>\n";
}

std::string HeaderRow(const std::vector<std::string_view>& columns, const TReportWords& words)
{
    std::string html = "<thead><tr>";
    for (const std::string_view column : columns) {
        html += "<th>" + std::string(column) + "</th>";
    }
    return html + "<th>" + words.Digest + "</th></tr></thead>\n";
}

std::vector<std::string_view> CheckTitles(TReportLanguage language)
{
    std::vector<std::string_view> titles;
    for (const TCheckColumn column : CheckTableColumns) {
        titles.push_back(CheckColumnTitle(column, language));
    }
    return titles;
}

std::string CheckCells(const TMaskVerdict& verdict, TReportLanguage language)
{
    std::string html;
    for (std::size_t c = 1; c < CheckTableColumns.size(); ++c) {
        const TCheckColumn column = CheckTableColumns[c];
        const std::string text = CheckCell(&verdict, {}, column, language);
        html += column == TCheckColumn::Verdict ? Cell(verdict.Ok ? "ok" : "fails", text) : Cell("n", text);
    }
    return html;
}

std::string CompareCells(const TSpectrumFigures& f)
{
    std::string html;
    for (const auto& [value, decimals] :
         {std::pair{f.PeakHz, 0}, std::pair{f.PeakShiftHz, 0}, std::pair{f.CentroidHz, 1}, std::pair{f.Correlation, 6},
          std::pair{f.DistanceDb, 3}, std::pair{f.MaxDeviationDb, 3}, std::pair{f.MaxDeviationHz, 0}}) {
        html += Cell("n", Fixed(value, decimals));
    }
    return html;
}

std::string UnitsSection(const TRunReport& report, const TReportWords& words)
{
    const bool masked = report.Mask.has_value();
    const std::vector<std::string_view> columns =
        masked ? CheckTitles(report.Settings.Language)
               : std::vector<std::string_view>(words.CompareColumns.begin(), words.CompareColumns.end());
    std::string html = "<section>\n<h2>" + std::string(words.UnitsHeading) + "</h2>\n<table class=\"units\">\n";
    html += HeaderRow(columns, words);
    html += "<tbody>\n";
    const std::size_t figureColumns = columns.size() - 1;
    for (const std::size_t k : ReportTableOrder(report)) {
        const TReportUnit& unit = report.Units[k];
        html += "<tr>" + Cell("file", HtmlEscaped(unit.File));
        if (!unit.Unit) {
            html += "<td class=\"unread\" colspan=\"" + std::to_string(figureColumns) + "\">" +
                    HtmlEscaped(unit.Failure) + "</td>";
        } else if (masked) {
            html += CheckCells(*unit.Verdict, report.Settings.Language);
        } else if (unit.Figures) {
            html += CompareCells(*unit.Figures);
        }
        html += Cell("digest", HtmlEscaped(unit.Digest)) + "</tr>\n";
    }
    return html + "</tbody>\n</table>\n</section>\n";
}

std::string Image(const TReportPicture& picture, const std::string& altHtml)
{
    return "<img src=\"data:image/png;base64," + picture.PngBase64 + "\" width=\"" + std::to_string(picture.Width) +
           "\" height=\"" + std::to_string(picture.Height) + "\" alt=\"" + altHtml + "\">";
}

std::string ChartCaption(const TReportUnit& unit, const TReportWords& words)
{
    const TMaskVerdict& verdict = *unit.Verdict;
    std::string text = HtmlEscaped(unit.File) + ": " + words.OutsideLines + std::to_string(verdict.Outside);
    if (verdict.WorstLine) {
        text += ", " + std::string(words.WorstAt) + std::to_string(BandLineFrequencyHz(*verdict.WorstLine)) + " " +
                words.Hz;
    }
    text += ", " + std::string(words.MarginOf) + Fixed(verdict.WorstMarginDb, 3) + " " + words.Db;
    if (verdict.LevelMarginDb && !std::isnan(*verdict.LevelMarginDb)) {
        text += ", " + std::string(words.LevelMarginOf) + Fixed(*verdict.LevelMarginDb, 3) + " " + words.Db;
    }
    return text;
}

std::string ChartsSection(const TRunReport& report, const TReportPictures& pictures, const TReportWords& words)
{
    const std::vector<std::size_t> charted = ReportChartedUnits(report);
    if (charted.empty()) {
        return {};
    }
    const std::size_t failing = CountOutcomes(report).Differs;
    std::string html = "<section>\n<h2>" + std::string(words.ChartsHeading) + "</h2>\n<p class=\"note\">" +
                       words.ChartsNote + std::to_string(charted.size()) + " " + words.ChartsOf + " " +
                       std::to_string(failing) + words.ChartsNoteEnd + "</p>\n";
    for (std::size_t c = 0; c < charted.size(); ++c) {
        const TReportUnit& unit = report.Units[charted[c]];
        const std::string caption = ChartCaption(unit, words);
        html += "<figure>" + Image(pictures.Charts[c], HtmlEscaped(unit.File)) + "<figcaption>" + caption +
                "</figcaption></figure>\n";
    }
    return html + "</section>\n";
}

std::string HeatmapSection(const TRunReport& report, const TReportPictures& pictures, const TReportWords& words)
{
    if (!pictures.Heatmap) {
        return {};
    }
    const char* caption = report.Mask ? words.HeatmapByMargin : words.HeatmapByDistance;
    return "<section>\n<h2>" + std::string(words.HeatmapHeading) + "</h2>\n<figure>" +
           Image(*pictures.Heatmap, words.HeatmapHeading) + "<figcaption>" + caption +
           "</figcaption></figure>\n</section>\n";
}

std::string SettingsSection(const TRunReport& report, const TReportWords& words)
{
    const TReportSettings& settings = report.Settings;
    std::string html = "<section>\n<h2>" + std::string(words.SettingsHeading) + "</h2>\n<table class=\"facts\">\n";
    html += FactRow(words.MaskHeading, report.Mask ? HtmlEscaped(report.Mask->Path) : std::string(words.NoMask));
    html += FactRow(words.UnitsGiven, std::to_string(report.Units.size()));
    html += FactRow(words.Nonconforming, settings.Strict ? words.Refused : words.AnalysedAsRaw);
    html += FactRow(words.ValueScale, settings.Logarithmic ? words.LogarithmicScale : words.LinearScale);
    if (report.Mask) {
        html += FactRow(words.ChartsSetting, std::to_string(settings.Charts));
    }
    html += FactRow(words.TitleSetting, settings.TitleGiven ? HtmlEscaped(settings.Title) : words.TitleFromFolder);
    html += FactRow(words.DateSetting, settings.Date ? HtmlEscaped(*settings.Date) : words.NoDate);
    html += FactRow(words.LanguageSetting, words.LanguageShown);
    html += "</table>\n<p class=\"note\">" + std::string(words.CommandLine) + ":</p>\n<pre>" +
            HtmlEscaped(ReportCommandLine(report)) + "</pre>\n";
    return html + "</section>\n";
}

} // namespace

std::string ReportSummary(const TRunReport& report)
{
    const TCheckCounts counts = CountOutcomes(report);
    if (report.Mask) {
        return CheckSummaryText(counts, report.Settings.Language);
    }
    const bool russian = report.Settings.Language == TReportLanguage::Russian;
    const std::size_t read = counts.Units - counts.Unread;
    std::string text = russian ? "Сравнено с медианным спектром: " + std::to_string(read)
                               : std::to_string(read) + (read == 1 ? " unit" : " units") +
                                     " ranked against their median spectrum";
    if (counts.Unread > 0) {
        text += russian ? ", ошибок: " + std::to_string(counts.Unread)
                        : ", " + std::to_string(counts.Unread) + " cannot be read";
    }
    return text;
}

std::string RunReportHtml(const TRunReport& report, const TReportPictures& pictures)
{
    if (pictures.Charts.size() != ReportChartedUnits(report).size()) {
        throw std::invalid_argument("a report needs one chart per failing unit it charts");
    }
    const TReportWords& words = WordsOf(report.Settings.Language);
    const std::string title =
        report.Settings.Title.empty() ? std::string(words.Untitled) : HtmlEscaped(report.Settings.Title);
    const TCheckCounts counts = CountOutcomes(report);
    const bool allGood = counts.Differs == 0 && counts.Unread == 0;

    std::string html = "<!DOCTYPE html>\n<html lang=\"" + std::string(words.Language) + "\">\n<head>\n";
    html += "<meta charset=\"utf-8\">\n<title>" + title + "</title>\n<style>\n" + std::string(Styles) +
            "</style>\n</head>\n<body>\n";
    html += "<h1>" + title + "</h1>\n<p class=\"program\">" + words.Program + TulvoVersion;
    if (report.Settings.Date) {
        html += " · " + HtmlEscaped(*report.Settings.Date);
    }
    html += "</p>\n";
    if (report.Mask) {
        html += MaskSection(*report.Mask, words);
    }
    html += std::string("<p class=\"summary") + (allGood ? "" : " fails") + "\">" + HtmlEscaped(ReportSummary(report)) +
            "</p>\n";
    html += UnitsSection(report, words);
    html += ChartsSection(report, pictures, words);
    html += HeatmapSection(report, pictures, words);
    html += SettingsSection(report, words);
    return html + "</body>\n</html>\n";
}
