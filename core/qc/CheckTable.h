#pragma once

#include "core/qc/ToleranceMask.h"

#include <string>
#include <string_view>

// The table of units checked against a mask, as tulvo-cli check prints it
// and the check window saves it: CSV, one row per unit,
//   File,Verdict,Outside,Worst (Hz),Margin (dB),Level (dBFS),Level margin (dB)
// Verdict "ok", "differs", or the failure of a unit that cannot be read (its
// other fields empty); Outside the lines outside their limits; Worst the
// line of the smallest margin and Margin that margin; Level and Level margin
// a recording's against the mask's level band, else empty. Numbers with 3
// decimals and a '.' whatever the locale. Each line ends in "\n".

inline constexpr std::string_view CheckTableHeader =
    "File,Verdict,Outside,Worst (Hz),Margin (dB),Level (dBFS),Level margin (dB)";

// The header line.
std::string CheckTableHeaderLine();

// The row of the unit file (as named) with its verdict.
std::string CheckTableRow(std::string_view file, const TMaskVerdict& verdict);

// The row of the unit file that cannot be read, failureText saying why
// (FailureText of core/files/ErrorMessages.h).
std::string CheckTableFailureRow(std::string_view file, std::string_view failureText);
