#pragma once

#include "cli/TToolContext.h"
#include "core/analysis/SpmFile.h"

#include <string>
#include <vector>

// The name under which standard input is read and reported.
inline constexpr const char* StandardInputName = "standard input";

// Reads the spectrum file name, or for "-" one spectrum file from the
// context's stdin (its first 732 bytes). Raises what ReadSpectrum raises; for
// stdin the error names "standard input". A pipe, socket or device given by
// name is refused with code 5 without waiting for it. For "-", the bytes read
// are also kept in standardInputBytes when it is given.
TSpectrum ReadSpectrumOperand(const std::string& name, const TToolContext& context,
                              std::string* standardInputBytes = nullptr);

// Raises TUsageError when "-" stands more than once among names, or once
// while the list of names itself comes from stdin (listFromStdin).
void CheckOneStandardInput(const std::vector<std::string>& names, bool listFromStdin);
