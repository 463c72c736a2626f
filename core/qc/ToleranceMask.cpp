#include "core/qc/ToleranceMask.h"

#include "core/base/CsvText.h"
#include "core/base/Statistics.h"
#include "core/base/TulvoErrors.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <tuple>

namespace {

// 1.4826 x MAD estimates the standard deviation of normally spread values.
constexpr double NormalMadScale = 1.4826;

constexpr double NotAFigure = std::numeric_limits<double>::quiet_NaN();

// Centre and spread of values (reordered), the spread at least floorDb.
std::pair<double, double> CentreAndSpread(std::vector<double>& values, double floorDb)
{
    const double centre = Median(values);
    for (double& value : values) {
        value = std::fabs(value - centre);
    }
    const double spread = std::max(NormalMadScale * Median(values), floorDb);
    return {centre, spread};
}

// Lower and upper limits about centre, rounded.
std::pair<double, double> Limits(double centre, double spread, const TMaskOptions& options)
{
    return {RoundToMilliDb(centre - options.Factor * spread - options.LowerOffsetDb),
            RoundToMilliDb(centre + options.Factor * spread + options.UpperOffsetDb)};
}

bool Excluded(const TMaskOptions& options, int line)
{
    const double frequencyHz = BandLineFrequencyHz(line);
    return std::any_of(options.Excluded.begin(), options.Excluded.end(),
                       [&](const TFrequencyRange& range) { return range.Holds(frequencyHz); });
}

// The margin of level to the limits lower and upper (the nearer one,
// negative when outside), rounded; NaN without limits.
double Margin(double level, const std::optional<double>& lower, const std::optional<double>& upper)
{
    if (!lower && !upper) {
        return NotAFigure;
    }
    double margin = std::numeric_limits<double>::infinity();
    if (lower) {
        margin = level - *lower;
    }
    if (upper) {
        margin = std::min(margin, *upper - level);
    }
    return RoundToMilliDb(margin);
}

bool Outside(double level, const std::optional<double>& lower, const std::optional<double>& upper)
{
    return (lower && level < *lower) || (upper && level > *upper);
}

} // namespace

std::string FrequencyRangeText(const TFrequencyRange& range)
{
    // Never "-0": the range's ends are from 0 up.
    return FormatShortest(range.LowHz + 0.0) + "-" + FormatShortest(range.HighHz + 0.0);
}

std::optional<TFrequencyRange> FrequencyRangeFromText(std::string_view text)
{
    const auto dash = text.find('-');
    if (dash == std::string_view::npos) {
        return std::nullopt;
    }
    TFrequencyRange range;
    const auto read = [](std::string_view number, double& value) {
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        return !number.empty() && error == std::errc() && end == number.data() + number.size() &&
               std::isfinite(value) && value >= 0;
    };
    if (!read(text.substr(0, dash), range.LowHz) || !read(text.substr(dash + 1), range.HighHz) ||
        range.LowHz > range.HighHz) {
        return std::nullopt;
    }
    return range;
}

void TMaskLearner::Add(const TSpectrum& spectrum, std::optional<double> levelDbfs)
{
    Add(spectrum.Codes, LineLevelsDb(spectrum), levelDbfs);
}

void TMaskLearner::Add(const TBandCodes& codes, const TLineLevels& levelsDb, std::optional<double> levelDbfs)
{
    // A level counts only while every unit has one.
    if (levelDbfs && levels_.size() == codes_.size()) {
        levels_.push_back(*levelDbfs);
    }
    linesDb_.push_back(levelsDb);
    codes_.push_back(codes);
}

TToleranceMask TMaskLearner::Learn(const TMaskOptions& options) const
{
    if (Count() < MinimumMaskUnits) {
        throw std::invalid_argument("a mask needs at least " + std::to_string(MinimumMaskUnits) + " units");
    }
    if (options.Kind != kind_) {
        throw std::invalid_argument("the options' spectrum kind is not the units'");
    }
    TToleranceMask mask;
    mask.Units = Count();
    mask.Options = options;
    std::vector<double> values(Count());
    for (int line = 0; line < SpectrumLines; ++line) {
        for (std::size_t u = 0; u < Count(); ++u) {
            values[u] = codes_[u][line];
        }
        const double code = std::max(Median(values), 1.0);
        const double step = PowerRatioDb((static_cast<extended>(code) + 1) / code);
        for (std::size_t u = 0; u < Count(); ++u) {
            values[u] = linesDb_[u][line];
        }
        const auto [centre, spread] = CentreAndSpread(values, std::max(options.FloorDb, step));
        TMaskLine& maskLine = mask.Lines[line];
        maskLine.CentreDb = RoundToMilliDb(centre);
        maskLine.SpreadDb = RoundToMilliDb(spread);
        if (!Excluded(options, line)) {
            std::tie(maskLine.LowerDb, maskLine.UpperDb) = Limits(centre, spread, options);
        }
    }
    if (AllHaveLevels()) {
        values = levels_;
        const auto [centre, spread] = CentreAndSpread(values, options.FloorDb);
        TLevelBand band;
        band.CentreDbfs = RoundToMilliDb(centre);
        std::tie(band.LowerDbfs, band.UpperDbfs) = Limits(centre, spread, options);
        mask.Level = band;
    }
    return mask;
}

TMaskVerdict CheckUnit(const TToleranceMask& mask, const TSpectrum& spectrum, std::optional<double> levelDbfs,
                       TSpectrumKind kind)
{
    return CheckUnit(mask, LineLevelsDb(spectrum), levelDbfs, kind);
}

TMaskVerdict CheckUnit(const TToleranceMask& mask, const TLineLevels& levels, std::optional<double> levelDbfs,
                       TSpectrumKind kind)
{
    if (kind != mask.Options.Kind) {
        throw EContentError("a spectrum of the kind '" + std::string(SpectrumKindName(kind)) +
                            "' cannot be checked against a mask of the kind '" +
                            std::string(SpectrumKindName(mask.Options.Kind)) + "'");
    }
    TMaskVerdict verdict;
    verdict.WorstMarginDb = NotAFigure;
    for (int line = 0; line < SpectrumLines; ++line) {
        const TMaskLine& limits = mask.Lines[line];
        const double level = RoundToMilliDb(levels[line]);
        verdict.LevelsDb[line] = level;
        verdict.MarginsDb[line] = Margin(level, limits.LowerDb, limits.UpperDb);
        if (Outside(level, limits.LowerDb, limits.UpperDb)) {
            verdict.OutsideLines.set(static_cast<std::size_t>(line));
            ++verdict.Outside;
        }
        if (!std::isnan(verdict.MarginsDb[line]) &&
            (!verdict.WorstLine || verdict.MarginsDb[line] < verdict.WorstMarginDb)) {
            verdict.WorstLine = line;
            verdict.WorstMarginDb = verdict.MarginsDb[line];
        }
    }
    if (levelDbfs && mask.Level) {
        const TLevelBand& band = *mask.Level;
        const double level = RoundToMilliDb(*levelDbfs);
        verdict.LevelDbfs = level;
        const double margin = Margin(level, band.LowerDbfs, band.UpperDbfs);
        if (!std::isnan(margin)) {
            verdict.LevelMarginDb = margin;
        }
        verdict.LevelOutside = Outside(level, band.LowerDbfs, band.UpperDbfs);
    }
    verdict.Ok = verdict.Outside == 0 && !verdict.LevelOutside;
    return verdict;
}

double SmallestMarginDb(const TMaskVerdict& verdict)
{
    double smallest = std::numeric_limits<double>::infinity();
    for (const double margin : {verdict.WorstMarginDb, verdict.LevelMarginDb.value_or(smallest)}) {
        if (!std::isnan(margin)) {
            smallest = std::min(smallest, margin);
        }
    }
    return smallest;
}

std::vector<std::size_t> FailuresFirstOrder(std::span<const TMaskVerdict* const> verdicts)
{
    const auto group = [](const TMaskVerdict* verdict) { return verdict == nullptr ? 1 : verdict->Ok ? 2 : 0; };
    std::vector<std::size_t> order(verdicts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int ga = group(verdicts[a]);
        const int gb = group(verdicts[b]);
        if (ga != gb) {
            return ga < gb;
        }
        return ga == 0 && SmallestMarginDb(*verdicts[a]) < SmallestMarginDb(*verdicts[b]);
    });
    return order;
}
