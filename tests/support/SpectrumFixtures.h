#pragma once

// Spectrum files of known content, written byte by byte from the file layout
// rather than by the program's own writer.

#include "core/base/AnalysisConstants.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// The 361 codes of a spectrum file, band line 0 first.
using TSpectrumCodes = std::array<std::int16_t, SpectrumLines>;

// The 732 bytes of a spectrum file: the ten bytes of the 80-bit scale as the
// machine holds them, then each code, low byte first.
std::vector<std::uint8_t> SpectrumFileBytes(long double scale, const TSpectrumCodes& codes);
// Writes those bytes as the whole file path.
void WriteSpectrumFixture(const std::string& path, long double scale, const TSpectrumCodes& codes);

} // namespace testsupport
