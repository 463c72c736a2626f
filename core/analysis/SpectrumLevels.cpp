#include "core/analysis/SpectrumLevels.h"

#include "core/base/TulvoErrors.h"
#include "dsp/dspExactMath.h"

#include <cmath>

namespace {

// Full scale of a 16-bit sample.
constexpr extended FullScale = 32768;

} // namespace

double LineLevelDb(int code, extended scale)
{
    const extended value = code > 0 ? static_cast<extended>(code) * scale : scale / 2;
    return static_cast<double>(10 * dspExactMath::Log10(value));
}

TLineLevels LineLevelsDb(const TSpectrum& spectrum)
{
    TLineLevels levels;
    for (int i = 0; i < SpectrumLines; ++i) {
        levels[i] = LineLevelDb(spectrum.Codes[i], spectrum.Scale);
    }
    return levels;
}

double RecordingLevelDbfs(extended rms) { return static_cast<double>(20 * dspExactMath::Log10(rms / FullScale)); }

double PowerRatioDb(extended ratio) { return static_cast<double>(10 * dspExactMath::Log10(ratio)); }

double RoundToMilliDb(double value)
{
    // Both steps are exact operations of the format: the same on every system.
    return std::nearbyint(value * 1000) / 1000;
}

double FillValue(const TBandValues& band)
{
    double fill = 1.0;
    for (const single value : band) {
        if (value != 0 && value < fill) {
            fill = value;
        }
    }
    return fill;
}

void CheckUnitSpectrum(const TSpectrum& spectrum, const std::string& path)
{
    const std::string refused = "not a unit's spectrum: ";
    if (!(spectrum.Scale > 0) || !std::isfinite(spectrum.Scale)) {
        throw EContentError(refused + "the scale is not a positive finite number", path);
    }
    bool positive = false;
    for (int i = 0; i < SpectrumLines; ++i) {
        if (spectrum.Codes[i] < 0) {
            throw EContentError(refused + "code " + std::to_string(spectrum.Codes[i]) + " at " +
                                    std::to_string(BandLineFrequencyHz(i)) + " Hz",
                                path);
        }
        positive = positive || spectrum.Codes[i] > 0;
    }
    if (!positive) {
        throw EContentError(refused + "no positive code", path);
    }
}
