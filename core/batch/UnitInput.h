#pragma once

#include "core/analysis/SpectrumKind.h"
#include "core/analysis/SpectrumLevels.h"
#include "core/analysis/SpmFile.h"
#include "core/analysis/TRecordingAnalysis.h"
#include "core/analysis/WavHeader.h"

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The units that masks are learned from and checked: spectrum files, and
// recordings analysed in memory to exactly the bytes that batch would write
// as their spectrum files (nothing is written beside them), with their level
// and their header check.

enum class TUnitSource { SpectrumFile, Recording };

// Why a name is not a unit's: it names neither source by its extension.
inline constexpr std::string_view NotAUnitText = "neither a spectrum file (.spm) nor a recording (.wav)";

// The source of the unit named path, by the extension of its name in any
// case: ".spm" a spectrum file, ".wav" a recording; "-" is a spectrum file
// read from standard input. Nothing for any other name.
std::optional<TUnitSource> UnitSourceOf(std::string_view path);

// Why a spectrum file is refused as a unit of max-hold spectra.
inline constexpr std::string_view SpectrumFileHoldsNoFrames =
    "a spectrum file holds no frames, so no max-hold spectrum; give the recording it was made from";

// One unit as read.
struct TUnit {
    TUnitSource Source = TUnitSource::SpectrumFile;
    // The kind of Spectrum: the one the reader was asked for.
    TSpectrumKind Kind = TSpectrumKind::Average;
    // A unit's spectrum (CheckUnitSpectrum), values formed as ReadSpectrum
    // forms them: the spectrum file's, or a recording's as its spectrum file
    // would hold it, or its max-hold spectrum (quantised alike).
    TSpectrum Spectrum;
    // LineLevelsDb of the spectrum, formed by the reader (on a worker
    // thread of ReadUnits).
    TLineLevels LevelsDb{};
    // A recording's level, RecordingLevelDbfs of the analysis's Rms.
    std::optional<double> LevelDbfs;
    // A recording's header check.
    std::optional<TWavHeaderVerdict> Header;
};

struct TUnitReadOptions {
    // What becomes of a recording whose header check fails: analysed as raw
    // samples, or refused with ERecordingFormat.
    TFormatPolicy Policy = TFormatPolicy::AnalyseAsRaw;
    // The spectrum each unit gives. MaxHold: a recording's max-hold spectrum
    // (TRecordingFrames::MaxHoldSpectrum; only then are its frames kept), and
    // a spectrum file, which holds no frames, is refused with EContentError
    // before it is read.
    TSpectrumKind Kind = TSpectrumKind::Average;
    // Reads the spectrum file that "-" stands for (standard input); without
    // it "-" is read as a file of that name.
    std::function<TSpectrum()> StandardInput;
};

// Reads units one after another: holds the analysis of the recordings among
// them, made at the first recording. Use one per thread.
class TUnitReader {
public:
    explicit TUnitReader(TUnitReadOptions options);
    ~TUnitReader();

    // Reads the unit path, whose source UnitSourceOf knows. Raises
    // EInOutError, EMathError or EContentError naming path, or
    // ERecordingFormat; a recording is read only if it is a regular file and
    // refused (code 5) when its spectrum file would be itself, as batch does.
    TUnit Read(const std::string& path);

private:
    TUnitReadOptions options_;
    std::unique_ptr<TRecordingAnalysis> analysis_;
};

// A unit of a list as read: the unit, or the failure its reading raised.
struct TUnitOutcome {
    std::optional<TUnit> Unit;
    std::exception_ptr Error;
};

// True for the failures that belong to one unit (EInOutError, EMathError,
// ERecordingFormat, EContentError); anything else ends a whole run.
bool IsUnitFailure(const std::exception_ptr& error);

// Reads the units paths on jobs worker threads (0: DefaultJobCount(); never
// more than the units), each with a reader of its own, and calls take with
// each unit's index and outcome on the caller's thread, in list order. The
// workers read at most 16 units per thread ahead of take, so the memory held
// does not grow with the count. A failure of a unit goes to take; any other
// error is thrown from here once its unit's turn comes. When stop is given
// and becomes true, no more units are taken and false is returned; true when
// every unit was taken.
bool ReadUnits(const std::vector<std::string>& paths, const TUnitReadOptions& options, int jobs,
               const std::function<void(std::size_t index, TUnitOutcome& outcome)>& take,
               const std::atomic<bool>* stop = nullptr);
