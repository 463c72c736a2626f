#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A Shewhart control chart of one measure, from its values in the order of the results.
//
// Points: the values in subgroups of N consecutive ones (N = 1 to 25), an incomplete last subgroup
// left out. For N >= 2 a point is its subgroup's mean (the N values summed in order, divided by N)
// and its range the largest value minus the smallest; for N = 1 a point is the value itself and its
// range the moving range |x(i) - x(i-1)|, none for the first point.
//
// Limits, from a baseline of K consecutive points that the caller chooses (the first K points, or
// those of a period), in double:
//   N >= 2 (X-bar and R)  centre = mean of the baseline's points, R-bar = mean of their ranges;
//                         limits centre -/+ A2 R-bar, range limits D3 R-bar and D4 R-bar.
//   N = 1 (individuals)   centre = mean of the baseline's values, MR-bar = mean of the K - 1 moving
//                         ranges between them (not the one into the baseline's first point);
//                         limits centre -/+ 2.66 MR-bar, range limits 0 and 3.267 MR-bar.
// A baseline of fewer than 2 points, or whose R-bar (MR-bar) is 0, gives no limits.
// Zones: the distance from the centre to each limit in thirds, on each side apart.

// A chart's points. Point p holds the values p N to p N + N - 1 of the input (0-based).
struct TChartPoints {
    int SubgroupSize = 1;
    std::vector<double> Values; // the subgroups' means, or the values for N = 1
    std::vector<double> Ranges; // their ranges, or moving ranges: a quiet NaN (none) for the first of N = 1
    std::size_t LeftOut = 0;    // values of the incomplete last subgroup, not charted (0 to N - 1)
};

// The points of values in subgroups of subgroupSize (1 to 25). Raises std::invalid_argument for
// another size or a value that is not finite.
TChartPoints ChartPoints(std::span<const double> values, int subgroupSize);

// Points First to First + Count - 1 (0-based).
struct TPointRange {
    std::size_t First = 0;
    std::size_t Count = 0;
};

// Whether a baseline gave limits, and why not.
enum class TLimitsStatus {
    Set,          // limits, range limits and zones apply
    TooFewPoints, // the baseline holds fewer than 2 points
    NoSpread,     // R-bar (MR-bar) of the baseline is 0: its values are all alike
};

// A chart's centre and limits, in the values' units. Centre is set whenever the baseline holds a
// point; the limits and MeanRange only when Status is Set.
struct TControlLimits {
    TLimitsStatus Status = TLimitsStatus::TooFewPoints;
    std::optional<double> Centre;
    double Lower = 0;
    double Upper = 0;
    double MeanRange = 0;  // R-bar, or MR-bar for N = 1
    double RangeLower = 0; // D3 R-bar; 0 for N = 1 and N < 7
    double RangeUpper = 0; // D4 R-bar, or 3.267 MR-bar
};

// The limits from the points in baseline. Raises std::out_of_range when baseline reaches past the
// last point.
TControlLimits BaselineLimits(const TChartPoints& points, TPointRange baseline);

// Why a chart has no limits, for a warning ("no limits: ..."); empty when its limits are set.
std::string NoLimitsReason(const TControlLimits& limits);

// The boundaries of the zones: one and two thirds of the way from the centre to each limit.
struct TZoneBoundaries {
    double LowerTwoThirds = 0;
    double LowerOneThird = 0;
    double UpperOneThird = 0;
    double UpperTwoThirds = 0;
};

// The zones of limits whose Status is Set.
TZoneBoundaries ZoneBoundaries(const TControlLimits& limits);
