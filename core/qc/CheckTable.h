#pragma once

#include "core/base/Language.h"
#include "core/qc/ToleranceMask.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The table of units checked against a mask, one definition for everything that shows it:
// tulvo-cli check's CSV (which the check window saves), the run report's HTML table and the
// check window's table. Its columns, in this order:
//   File, Verdict, Outside, Worst (Hz), Margin (dB), Level (dBFS), Level margin (dB)
// Verdict "ok" or "differs" (Russian "годен", "не годен"), or for a unit that cannot be read the
// failure (FailureText of core/files/ErrorMessages.h) with every later field empty; Outside the lines
// outside their limits; Worst the line of the smallest margin and Margin that margin; Level and
// Level margin a recording's against the mask's level band, else empty. Figures with 3 decimals
// and a '.' whatever the locale (the windows put the user's separator in). The CSV's lines end
// in "\n".

enum class TCheckColumn { File, Verdict, Outside, Worst, Margin, Level, LevelMargin };
inline constexpr std::array<TCheckColumn, 7> CheckTableColumns{
    TCheckColumn::File,   TCheckColumn::Verdict, TCheckColumn::Outside,    TCheckColumn::Worst,
    TCheckColumn::Margin, TCheckColumn::Level,   TCheckColumn::LevelMargin};

// A column's title: English as the CSV's header has it ("Worst (Hz)"), Russian as the windows and
// the Russian report show it ("Худшая линия, Гц").
std::string_view CheckColumnTitle(TCheckColumn column, TLanguage language);

// The word of a verdict: "ok"/"differs", "годен"/"не годен".
std::string_view VerdictWord(bool ok, TLanguage language);

// A unit's field in a column after File: from its verdict, or for a unit that cannot be read
// (verdict null) the failure in Verdict and nothing elsewhere.
std::string CheckCell(const TMaskVerdict* verdict, std::string_view failure, TCheckColumn column,
                      TLanguage language = TLanguage::English);

// The CSV: the header line, the row of the unit file (as named) with its verdict, and the row of
// one that cannot be read, failure saying why.
inline constexpr std::string_view CheckTableHeader =
    "File,Verdict,Outside,Worst (Hz),Margin (dB),Level (dBFS),Level margin (dB)";
std::string CheckTableHeaderLine();
std::string CheckTableRow(std::string_view file, const TMaskVerdict& verdict);
std::string CheckTableFailureRow(std::string_view file, std::string_view failure);

// How the units of a check came out.
struct TCheckCounts {
    std::size_t Units = 0;
    std::size_t Ok = 0;
    std::size_t Differs = 0;
    std::size_t Unread = 0;
};

// The summary line of a check: "Проверено: 6, годных: 2, негодных: 2" or "6 units: 2 ok, 2
// differs", with ", ошибок: 2" or ", 2 cannot be read" when some units could not be read.
std::string CheckSummaryText(const TCheckCounts& counts, TLanguage language);
