#pragma once

#include "core/analysis/SpmFile.h"
#include "core/analysis/TSampleBlock.h"

#include <string>
#include <vector>

// The tables the windows save as CSV, built from the pieces of tulvo-cli's tables (core/base/CsvText.h):
// fields quoted only when they must be, numbers with a '.' decimal point whatever the locale, each
// row ended by "\n".

// Milliseconds from the first sample to sample `index` (51200 samples a second), as the
// waveform view plots them.
double WaveformTimeMs(int index);

// The spectra as tulvo-cli show prints them by default: a "Frequency (Hz)" column with the 361
// lines and a column of values per file, headed by `names` (one per spectrum).
std::string SpectrumTable(const std::vector<std::string>& names, const std::vector<TSpectrum>& spectra);

// The recording's samples, one row each: "Time (ms),Sample", the time as WaveformTimeMs gives it
// in the shortest text that reads back as the same double.
std::string WaveformTable(const TSampleBlock& recording);
