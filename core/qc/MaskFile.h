#pragma once

#include "core/qc/ToleranceMask.h"

#include <string>
#include <string_view>

// The mask file (docs/mask-format.md): CSV in UTF-8 that a person and a
// spreadsheet read. First a comment block, one "# Key: value" a line:
//   # Format: tulvo-mask 1
//   # Spectrum: average              (or "max-hold")
//   # Units: 30
//   # Factor: 6
//   # Upper offset (dB): 0
//   # Lower offset (dB): 0
//   # Floor (dB): 0.5
//   # Excluded (Hz): none            (or ranges: "4400-4600 7000-7100")
//   # Level (dBFS): -12.345          ("none" for a mask without level band)
//   # Level lower (dBFS): -15.345    (these two only with a level band;
//   # Level upper (dBFS): -9.345      empty: no limit on that side)
// and the mask's notes as free-text comment lines; then the header
//   Frequency (Hz),Centre (dB),Spread (dB),Lower (dB),Upper (dB)
// and a row per band line, 1000 to 10000 Hz. Learned figures have 3
// decimals, the options the shortest text of their value; an empty Lower or
// Upper is no limit on that side. Lines end in "\n".

// The first comment line of every mask file.
inline constexpr std::string_view MaskFormatLine = "# Format: tulvo-mask 1";

// The header of the mask's table.
inline constexpr std::string_view MaskTableHeader = "Frequency (Hz),Centre (dB),Spread (dB),Lower (dB),Upper (dB)";

// The largest mask file read, in bytes (a mask is about 15 KB).
inline constexpr std::size_t MaxMaskFileBytes = 1 << 20;

// The bytes of mask's file. A note's line breaks become spaces.
std::string MaskFileText(const TToleranceMask& mask);

// The mask a file's text holds, read strictly: the Format line first, every
// key above once (the level's as described), the header, then exactly the
// 361 rows in order, each number finite, Lower not above Upper. Accepted
// besides: a UTF-8 byte-order mark, "\r\n" line ends, blank lines, spaces
// around fields, fields in CSV quotes, and empty fields at the end of a line
// (a spreadsheet's re-save). Comment lines that hold no key are notes.
// Anything else raises EContentError naming path and the line at fault.
TToleranceMask ParseMaskFile(std::string_view text, const std::string& path);

// Reads the mask file path (a regular file of at most MaxMaskFileBytes):
// EInOutError when it cannot be read, EContentError as ParseMaskFile.
TToleranceMask ReadMaskFile(const std::string& path);
