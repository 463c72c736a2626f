#include "core/qc/CheckTable.h"

#include "core/base/CsvText.h"

namespace {

constexpr std::array<std::string_view, CheckTableColumns.size()> EnglishTitles{
    "File", "Verdict", "Outside", "Worst (Hz)", "Margin (dB)", "Level (dBFS)", "Level margin (dB)"};
constexpr std::array<std::string_view, CheckTableColumns.size()> RussianTitles{
    "Файл", "Вердикт", "Вне допуска", "Худшая линия, Гц", "Запас, дБ", "Уровень, дБFS", "Запас уровня, дБ"};

std::string Fixed(const std::optional<double>& value) { return value ? FormatFixed(*value, 3) : std::string(); }

} // namespace

std::string_view CheckColumnTitle(TCheckColumn column, TLanguage language)
{
    const auto& titles = language == TLanguage::Russian ? RussianTitles : EnglishTitles;
    return titles[static_cast<std::size_t>(column)];
}

std::string_view VerdictWord(bool ok, TLanguage language)
{
    if (language == TLanguage::Russian) {
        return ok ? "годен" : "не годен";
    }
    return ok ? "ok" : "differs";
}

std::string CheckCell(const TMaskVerdict* verdict, std::string_view failure, TCheckColumn column,
                      TLanguage language)
{
    if (verdict == nullptr) {
        return column == TCheckColumn::Verdict ? std::string(failure) : std::string();
    }
    switch (column) {
    case TCheckColumn::File: break;
    case TCheckColumn::Verdict: return std::string(VerdictWord(verdict->Ok, language));
    case TCheckColumn::Outside: return std::to_string(verdict->Outside);
    case TCheckColumn::Worst:
        return verdict->WorstLine ? std::to_string(BandLineFrequencyHz(*verdict->WorstLine)) : std::string();
    case TCheckColumn::Margin: return FormatFixed(verdict->WorstMarginDb, 3);
    case TCheckColumn::Level: return Fixed(verdict->LevelDbfs);
    case TCheckColumn::LevelMargin: return Fixed(verdict->LevelMarginDb);
    }
    return {};
}

std::string CheckTableHeaderLine() { return std::string(CheckTableHeader) + "\n"; }

namespace {

std::string CsvRow(std::string_view file, const TMaskVerdict* verdict, std::string_view failure)
{
    std::string row = CsvField(file);
    for (std::size_t c = 1; c < CheckTableColumns.size(); ++c) {
        row += ',';
        row += CsvField(CheckCell(verdict, failure, CheckTableColumns[c]));
    }
    return row + "\n";
}

} // namespace

std::string CheckTableRow(std::string_view file, const TMaskVerdict& verdict) { return CsvRow(file, &verdict, {}); }

std::string CheckTableFailureRow(std::string_view file, std::string_view failure)
{
    return CsvRow(file, nullptr, failure);
}

std::string CheckSummaryText(const TCheckCounts& counts, TLanguage language)
{
    std::string text;
    if (language == TLanguage::Russian) {
        text = "Проверено: " + std::to_string(counts.Units) + ", годных: " + std::to_string(counts.Ok) +
               ", негодных: " + std::to_string(counts.Differs);
        if (counts.Unread > 0) {
            text += ", ошибок: " + std::to_string(counts.Unread);
        }
        return text;
    }
    text = std::to_string(counts.Units) + (counts.Units == 1 ? " unit: " : " units: ") + std::to_string(counts.Ok) +
           " ok, " + std::to_string(counts.Differs) + " differs";
    if (counts.Unread > 0) {
        text += ", " + std::to_string(counts.Unread) + " cannot be read";
    }
    return text;
}
