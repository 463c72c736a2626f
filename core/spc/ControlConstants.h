#pragma once

// The factors of Shewhart's charts for subgroups of normal values: the expected range of a subgroup
// of n is d2 sigma; the X-bar chart's limits lie A2 R-bar = 3 R-bar / (d2 sqrt(n)) from its centre,
// the R chart's at D3 R-bar and D4 R-bar (D3 = 0, no lower limit, below n = 7).

// The subgroup sizes a chart takes: 1 (individuals) to 25.
inline constexpr int MinSubgroupSize = 1;
inline constexpr int MaxSubgroupSize = 25;

// The factors of one subgroup size, each to 3 decimals.
struct TRangeChartFactors {
    double A2 = 0;
    double D3 = 0;
    double D4 = 0;
    double d2 = 0;
};

// The factors of subgroups of subgroupSize values, 2 to 25. Raises std::out_of_range otherwise.
const TRangeChartFactors& RangeChartFactors(int subgroupSize);

// Individuals and moving ranges of two consecutive values: limits at 2.66 MR-bar (3 / d2 for n = 2)
// from the centre, the moving range's limit at 3.267 MR-bar (D4 for n = 2), and the short-term
// sigma MR-bar / 1.128 (d2 for n = 2).
inline constexpr double IndividualsLimitFactor = 2.66;
inline constexpr double MovingRangeLimitFactor = 3.267;
inline constexpr double MovingRangeD2 = 1.128;
