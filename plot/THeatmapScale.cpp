#include "plot/THeatmapScale.h"

#include "core/qc/SpectrumComparison.h"

#include <algorithm>
#include <cmath>

THeatmapScale THeatmapScale::ForBands(std::span<const TBandValues> bands, bool logarithmic)
{
    THeatmapScale scale;
    scale.Logarithmic = logarithmic;
    bool any = false;
    for (const TBandValues& band : bands) {
        const auto [lo, hi] = std::minmax_element(band.begin(), band.end());
        scale.Lo = any ? std::min<double>(scale.Lo, *lo) : *lo;
        scale.Hi = any ? std::max<double>(scale.Hi, *hi) : *hi;
        any = true;
    }
    if (logarithmic) {
        scale.Lo = scale.Hi > 0 ? LevelFloorRatio * scale.Hi : 0;
        scale.Hi = std::max(scale.Hi, 0.0);
    } else {
        scale.Lo = std::min(scale.Lo, 0.0);
    }
    return scale;
}

int THeatmapScale::Index(double value) const
{
    if (!(Hi > Lo) || std::isnan(value)) {
        return 0;
    }
    const double t = Logarithmic ? std::log(std::max(value, Lo) / Lo) / std::log(Hi / Lo) : (value - Lo) / (Hi - Lo);
    return static_cast<int>(std::clamp(std::floor(256 * t), 0.0, 255.0));
}
