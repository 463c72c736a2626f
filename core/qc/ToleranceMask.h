#pragma once

#include "core/analysis/SpectrumKind.h"
#include "core/analysis/SpectrumLevels.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Tolerance masks: limits per band line learned from known-good units, and
// the check of a unit against them.
//
// Learning, per band line over the N units' levels L (dB, SpectrumLevels.h):
//   Centre  = the median of L (the mean of the middle two for even N);
//   Spread  = max(1.4826 x MAD, floor), MAD the median of |L - Centre|:
//             1.4826 x MAD estimates the standard deviation of normally
//             spread levels, and a few units far off move neither figure;
//   floor   = max(FloorDb, 10 log10((c + 1) / c)), c the median of the units'
//             codes at the line but at least 1: one code step, so that a
//             line of small codes never fails a good unit by one code;
//   Lower   = Centre - Factor x Spread - LowerOffsetDb,
//   Upper   = Centre + Factor x Spread + UpperOffsetDb;
//   lines within an excluded range get no limits.
// When every unit is a recording, its level in dBFS gets a band learned the
// same way (floor FloorDb). Each figure is rounded to 0.001 dB once learned
// (RoundToMilliDb), so that a mask holds exactly what its file says.
//
// Checking: each line's level, rounded to 0.001 dB, is outside when it lies
// below Lower or above Upper; its margin is the distance to the nearer
// limit, negative when outside. A recording's level is checked against the
// level band alike. A unit is ok when no line and not its level lies outside.

// The fewest units a mask is learned from, and the count below which it is rough.
inline constexpr std::size_t MinimumMaskUnits = 5;
inline constexpr std::size_t RoughMaskUnits = 20;

// The lines from LowHz to HighHz, both included.
struct TFrequencyRange {
    double LowHz = 0;
    double HighHz = 0;

    bool Holds(double frequencyHz) const { return frequencyHz >= LowHz && frequencyHz <= HighHz; }
    bool operator==(const TFrequencyRange&) const = default;
};

// "LOW-HIGH" of a range, each the shortest text of its value ("4400-4600").
std::string FrequencyRangeText(const TFrequencyRange& range);

// The range "LOW-HIGH" names: two finite numbers of Hz from 0 up, LOW not
// above HIGH; nothing for any other text.
std::optional<TFrequencyRange> FrequencyRangeFromText(std::string_view text);

// How a mask is learned. Factor, the offsets and the floor are finite and
// not negative.
struct TMaskOptions {
    TSpectrumKind Kind = TSpectrumKind::Average;
    double Factor = 6;
    double UpperOffsetDb = 0;
    double LowerOffsetDb = 0;
    double FloorDb = 0.5;
    std::vector<TFrequencyRange> Excluded;

    bool operator==(const TMaskOptions&) const = default;
};

// One band line of a mask, in dB. Lower and Upper are what the check uses;
// an empty one is no limit on that side (both empty: an excluded line).
struct TMaskLine {
    double CentreDb = 0;
    double SpreadDb = 0;
    std::optional<double> LowerDb;
    std::optional<double> UpperDb;

    bool operator==(const TMaskLine&) const = default;
};

// The band of a recording's level, in dBFS (limits as for a line).
struct TLevelBand {
    double CentreDbfs = 0;
    std::optional<double> LowerDbfs;
    std::optional<double> UpperDbfs;

    bool operator==(const TLevelBand&) const = default;
};

// A mask as a value: how it was learned, from how many units, the 361 lines
// and, when learned from recordings, the level band. Notes are free-text
// lines for people (what made it), kept with the mask and in its file.
struct TToleranceMask {
    std::size_t Units = 0;
    TMaskOptions Options;
    std::array<TMaskLine, SpectrumLines> Lines{};
    std::optional<TLevelBand> Level;
    std::vector<std::string> Notes;

    bool operator==(const TToleranceMask&) const = default;
};

// Gathers known-good units and learns a mask from them. Each unit costs
// 361 levels and codes (about 3.6 KB), whatever its source.
class TMaskLearner {
public:
    explicit TMaskLearner(TSpectrumKind kind = TSpectrumKind::Average) : kind_(kind) {}

    // Adds a unit: its spectrum (of the learner's kind, and a unit's: see
    // CheckUnitSpectrum) and, for a recording, its level in dBFS.
    void Add(const TSpectrum& spectrum, std::optional<double> levelDbfs = std::nullopt);

    // The same with the spectrum's codes and their LineLevelsDb already formed.
    void Add(const TBandCodes& codes, const TLineLevels& levelsDb, std::optional<double> levelDbfs);

    std::size_t Count() const noexcept { return codes_.size(); }

    // True when every unit added has a level (and there is one).
    bool AllHaveLevels() const noexcept { return !codes_.empty() && levels_.size() == codes_.size(); }

    // The mask of the units added (see above), with options (whose Kind must
    // be the learner's). Raises std::invalid_argument with fewer than
    // MinimumMaskUnits units.
    TToleranceMask Learn(const TMaskOptions& options) const;

private:
    TSpectrumKind kind_;
    std::vector<TLineLevels> linesDb_;
    std::vector<TBandCodes> codes_;
    std::vector<double> levels_;
};

// A unit against a mask.
struct TMaskVerdict {
    bool Ok = true;
    // Lines outside their limits (the level not counted).
    int Outside = 0;
    std::bitset<SpectrumLines> OutsideLines;
    // The unit's levels as compared (rounded to 0.001 dB), and each line's
    // margin to its nearer limit (NaN for a line without limits).
    TLineLevels LevelsDb{};
    TLineLevels MarginsDb{};
    // The line of the smallest margin (the first of equal ones) and that
    // margin; nothing and NaN when no line has a limit.
    std::optional<int> WorstLine;
    double WorstMarginDb = 0;
    // A recording's level against the level band; nothing for a spectrum
    // file, or when the mask has no level band. A level margin is NaN when
    // the band has no limit.
    std::optional<double> LevelDbfs;
    std::optional<double> LevelMarginDb;
    bool LevelOutside = false;
};

// Checks a unit, its spectrum of kind kind and, for a recording, its level
// in dBFS, against mask. Raises EContentError when kind is not the mask's.
TMaskVerdict CheckUnit(const TToleranceMask& mask, const TSpectrum& spectrum, std::optional<double> levelDbfs,
                       TSpectrumKind kind = TSpectrumKind::Average);

// The same with the spectrum's LineLevelsDb already formed.
TMaskVerdict CheckUnit(const TToleranceMask& mask, const TLineLevels& levelsDb, std::optional<double> levelDbfs,
                       TSpectrumKind kind = TSpectrumKind::Average);

// The smallest margin of a verdict, its lines' and its level's, in dB: what ranks failing units
// (the most negative first). +infinity when neither has a limit.
double SmallestMarginDb(const TMaskVerdict& verdict);

// The order in which units checked against a mask are looked at: those that fail, the smallest
// margin first (SmallestMarginDb; equal ones in list order), then those that could not be read
// (a null verdict), then the ok ones, both in list order.
std::vector<std::size_t> FailuresFirstOrder(std::span<const TMaskVerdict* const> verdicts);
