#pragma once

#include "core/analysis/SpmFile.h"
#include "core/analysis/TRecordingFrames.h"

#include <string>
#include <vector>

// The CSV tables of spectra and of a recording's frames, as tulvo-cli show writes them and the
// windows save them, built of the pieces in core/base/CsvText.h: values in the shortest text that
// reads back as the same single, a '.' decimal point whatever the locale, rows ended by "\n".

// The wide table of spectra (tulvo-cli show's default, the windows' tables): the header
// "Frequency (Hz)" and a column per spectrum named by names, and the row of band line `line`: its
// frequency and each spectrum's value (or code).
std::string SpectrumTableHeader(const std::vector<std::string>& names);
// One spectrum's field of a row: its value at `line` (FormatSingle) or its code.
std::string SpectrumTableCell(const TSpectrum& spectrum, int line, bool codes = false);
std::string SpectrumTableRow(const std::vector<TSpectrum>& spectra, int line, bool codes = false);

// The wide table of frames (tulvo-cli show --frames): the header "Frequency (Hz)", a column per
// frame named by its start ("0 ms", "20 ms" .. "280 ms"), then "Max".
std::string FramesTableHeader();

// The wide table's row of band line `line` (0..360): its frequency, each
// frame's value and the max-hold value.
std::string FramesTableRow(const TRecordingFrames& frames, int line);

// The long table's header "File,Frame start (ms),Frequency (Hz),Value".
std::string FramesLongHeader();

// The long table's rows of one recording named `name`: a row per frame and
// line, frame by frame from the first, each frame's lines upwards.
std::string FramesLongRows(const std::string& name, const TRecordingFrames& frames);
