#pragma once

#include "core/base/AnalysisConstants.h"
#include "core/files/TDataFile.h"
#include "dsp/dspTypes.h"

#include <array>
#include <cstdint>
#include <string>

// The spectrum file: 732 bytes, little-endian, no signature.
//   offset 0, 10 bytes:  the scale, an 80-bit extended value exactly as held
//                        in memory (64-bit significand with explicit integer
//                        bit, then sign and 15-bit exponent with bias 16383);
//   offset 10, 722 bytes: 361 signed 16-bit codes, band line 0 first.
// Line i stands for 1000 + 25 i Hz; its value is codes[i] x scale. A file
// written by the batch has codes 0..10000, the largest line exactly 10000.

inline constexpr int ScaleFieldSize = 10;
inline constexpr int SpectrumFileSize = ScaleFieldSize + 2 * SpectrumLines;

using TBandValues = std::array<single, SpectrumLines>;
using TBandCodes = std::array<std::int16_t, SpectrumLines>;

// The name of a recording's spectrum file: the last four characters of the
// file name replaced by ".spm" ("rec01.wav" gives "rec01.spm", "rec01.wave"
// gives "rec01..spm"). Only the file name is cut, never the folder (split at
// the system's separators, '\' too on Windows): a name of
// fewer than four characters gets ".spm" appended. Characters are counted as
// UTF-8 code points, so a multi-byte character is never split.
std::string SpectrumFileName(const std::string& recordingPath);

// The ten bytes of an extended value, and back. Bit for bit: decoding what
// was encoded gives the same value (and the same bits) again.
std::array<std::uint8_t, ScaleFieldSize> EncodeExtended(extended value);
extended DecodeExtended(const std::uint8_t* bytes);

// Quantises a band: m = the largest value (from 0, taking a value only when
// it is greater, compared in extended), scale = m / 10000 in extended, and
// each code = band[i] / scale in extended, rounded to nearest with halves to
// even. Returns the scale. A band whose maximum is 0 divides 0 by 0 and raises
// EInvalidOp (cause EmptyBand); a code outside the 16-bit range raises EInvalidOp too.
extended QuantiseBand(const TBandValues& band, TBandCodes& codes);

// Band values of a file: codes[i] x scale in extended, stored as single.
// Raises the floating-point error of the multiplication (a scale so large
// that a value overflows single). A scale that is NaN or infinite has no
// values to give and raises EInvalidOp, whatever the codes (an infinite
// scale times a code of 0 would raise it too; times other codes, or a quiet
// NaN times any code, would pass silently).
void BandFromCodes(const TBandCodes& codes, extended scale, TBandValues& band);

// Writes a spectrum file to spmPath through file, replacing an older file
// only with a complete one (see TSpmFileWriter, which this uses once).
// file is closed on every path.
void WriteSpectrumFile(TDataFile& file, const std::string& spmPath, extended scale, const TBandCodes& codes);

// The 732 bytes of a spectrum file.
std::array<std::uint8_t, SpectrumFileSize> SpectrumFileImage(extended scale, const TBandCodes& codes);

// A spectrum file as a value: its scale, its codes, and the band values
// codes[i] x scale (in extended, stored as single, as BandFromCodes forms them).
struct TSpectrum {
    extended Scale = 0;
    TBandCodes Codes{};
    TBandValues Values{};
};

// Reads the spectrum file spmPath into a value: the scale and the codes, then
// the values from them. Bytes after the first 732 are ignored; a shorter file
// raises 100 "Read beyond end of file", and any other failure of the file the
// EInOutError of TDataFile (a FIFO, socket or device: 5, refused without
// waiting for it). A file that reads raises the floating-point error
// of BandFromCodes, if any, naming spmPath. Nothing else is validated. The
// file is opened and closed here, on every path.
TSpectrum ReadSpectrum(const std::string& spmPath);
