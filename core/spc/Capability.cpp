#include "core/spc/Capability.h"

#include "core/base/Statistics.h"
#include "core/spc/ControlConstants.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// min(Upper - mean, mean - Lower) / (3 sigma) over the limits that are set; empty without one or
// with a sigma of 0.
std::optional<double> Index(double mean, double sigma, const TCapabilityLimits& limits)
{
    if (!(sigma > 0) || (!limits.Lower && !limits.Upper)) {
        return std::nullopt;
    }
    double distance = limits.Upper ? *limits.Upper - mean : mean - *limits.Lower;
    if (limits.Lower) {
        distance = std::min(distance, mean - *limits.Lower);
    }
    return distance / (3 * sigma);
}

} // namespace

TCapability MeasureCapability(std::span<const double> values, const TCapabilityLimits& limits)
{
    TCapability capability;
    capability.Count = values.size();
    if (values.empty()) {
        return capability;
    }
    const auto n = static_cast<double>(values.size());
    double sum = 0;
    for (const double value : values) {
        sum += value;
    }
    const double mean = sum / n;
    capability.Mean = mean;
    std::vector<double> sorted(values.begin(), values.end());
    capability.Drift = Median(sorted) - limits.Centre;
    if (values.size() < 2) {
        return capability;
    }

    double squares = 0;
    double movingRanges = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        squares += (values[i] - mean) * (values[i] - mean);
        if (i > 0) {
            movingRanges += std::fabs(values[i] - values[i - 1]);
        }
    }
    const double sigma = std::sqrt(squares / (n - 1));
    capability.Sigma = sigma;
    capability.Ppk = Index(mean, sigma, limits);
    capability.Cpk = Index(mean, movingRanges / (n - 1) / MovingRangeD2, limits);
    return capability;
}

bool RanksBefore(std::optional<double> ppkA, double keyA, std::optional<double> ppkB, double keyB)
{
    if (ppkA.has_value() != ppkB.has_value()) {
        return ppkA.has_value();
    }
    if (ppkA && *ppkA != *ppkB) {
        return *ppkA < *ppkB;
    }
    return keyA < keyB;
}
