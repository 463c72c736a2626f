#include "core/spc/ControlChart.h"

#include "core/spc/ControlConstants.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

TChartPoints ChartPoints(std::span<const double> values, int subgroupSize)
{
    if (subgroupSize < MinSubgroupSize || subgroupSize > MaxSubgroupSize) {
        throw std::invalid_argument("subgroups of " + std::to_string(subgroupSize) + " values: the size is 1 to " +
                                    std::to_string(MaxSubgroupSize));
    }
    if (!std::all_of(values.begin(), values.end(), [](double value) { return std::isfinite(value); })) {
        throw std::invalid_argument("a control chart's values must be finite");
    }
    const auto size = static_cast<std::size_t>(subgroupSize);
    const std::size_t count = values.size() / size;
    TChartPoints points;
    points.SubgroupSize = subgroupSize;
    points.LeftOut = values.size() % size;
    points.Values.resize(count);
    points.Ranges.resize(count);
    if (size == 1) {
        std::copy_n(values.begin(), count, points.Values.begin());
        for (std::size_t i = 1; i < count; ++i) {
            points.Ranges[i] = std::fabs(values[i] - values[i - 1]);
        }
        if (count > 0) {
            points.Ranges[0] = std::numeric_limits<double>::quiet_NaN();
        }
        return points;
    }
    for (std::size_t p = 0; p < count; ++p) {
        const std::span<const double> group = values.subspan(p * size, size);
        double sum = 0;
        double lowest = group[0];
        double highest = group[0];
        for (const double value : group) {
            sum += value;
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
        }
        points.Values[p] = sum / static_cast<double>(size);
        points.Ranges[p] = highest - lowest;
    }
    return points;
}

TControlLimits BaselineLimits(const TChartPoints& points, TPointRange baseline)
{
    if (baseline.First > points.Values.size() || baseline.Count > points.Values.size() - baseline.First) {
        throw std::out_of_range("the baseline reaches past the chart's last point");
    }
    TControlLimits limits;
    if (baseline.Count == 0) {
        return limits;
    }
    const auto values = std::span(points.Values).subspan(baseline.First, baseline.Count);
    double sum = 0;
    for (const double value : values) {
        sum += value;
    }
    const double centre = sum / static_cast<double>(values.size());
    limits.Centre = centre;
    if (values.size() < 2) {
        return limits;
    }

    // The moving range into the baseline's first point reaches outside it: individuals average the
    // K - 1 ranges after it, subgroups all K of their own.
    const bool individuals = points.SubgroupSize == 1;
    const auto ranges = std::span(points.Ranges)
                            .subspan(baseline.First + (individuals ? 1 : 0), baseline.Count - (individuals ? 1 : 0));
    double rangeSum = 0;
    for (const double range : ranges) {
        rangeSum += range;
    }
    const double meanRange = rangeSum / static_cast<double>(ranges.size());
    if (meanRange == 0) {
        limits.Status = TLimitsStatus::NoSpread;
        return limits;
    }

    limits.Status = TLimitsStatus::Set;
    limits.MeanRange = meanRange;
    if (individuals) {
        limits.Lower = centre - IndividualsLimitFactor * meanRange;
        limits.Upper = centre + IndividualsLimitFactor * meanRange;
        limits.RangeLower = 0;
        limits.RangeUpper = MovingRangeLimitFactor * meanRange;
    } else {
        const TRangeChartFactors& factors = RangeChartFactors(points.SubgroupSize);
        limits.Lower = centre - factors.A2 * meanRange;
        limits.Upper = centre + factors.A2 * meanRange;
        limits.RangeLower = factors.D3 * meanRange;
        limits.RangeUpper = factors.D4 * meanRange;
    }
    return limits;
}

std::string NoLimitsReason(const TControlLimits& limits)
{
    switch (limits.Status) {
    case TLimitsStatus::Set: return {};
    case TLimitsStatus::TooFewPoints: return "the baseline holds fewer than 2 points";
    case TLimitsStatus::NoSpread: return "every range within the baseline is 0";
    }
    return {};
}

TZoneBoundaries ZoneBoundaries(const TControlLimits& limits)
{
    const double centre = limits.Centre.value_or(0);
    const double upperThird = (limits.Upper - centre) / 3;
    const double lowerThird = (centre - limits.Lower) / 3;
    return {centre - 2 * lowerThird, centre - lowerThird, centre + upperThird, centre + 2 * upperThird};
}
