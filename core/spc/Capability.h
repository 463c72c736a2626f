#pragma once

#include <cstddef>
#include <optional>
#include <span>

// How capable one measure of a line is against its limits, from its values in the order of the
// results (n of them, in the values' units):
//   Mean    the values' sum in order / n;
//   Sigma   the sample standard deviation, sqrt(sum (x - Mean)^2 / (n - 1));
//   Ppk     min(Upper - Mean, Mean - Lower) / (3 Sigma), with the one limit when only one is set;
//   Cpk     the same with the short-term sigma MR-bar / 1.128, MR-bar the mean of the n - 1 moving
//           ranges |x(i) - x(i-1)| of consecutive values;
//   Drift   the median of the values minus the limits' centre.
// An index is empty with fewer than 2 values, a sigma of 0 or no limit; Mean and Drift with no
// value, Sigma with fewer than 2. Below 1.33 a measure is at risk, below 1.0 it fails often.

// The limits of a measure and the centre they were set around; an empty limit does not apply.
struct TCapabilityLimits {
    std::optional<double> Lower;
    std::optional<double> Upper;
    double Centre = 0;
};

// The figures above for one measure.
struct TCapability {
    std::size_t Count = 0;
    std::optional<double> Mean;
    std::optional<double> Sigma;
    std::optional<double> Ppk;
    std::optional<double> Cpk;
    std::optional<double> Drift;
};

// The capability of values (finite) against limits.
TCapability MeasureCapability(std::span<const double> values, const TCapabilityLimits& limits);

// True when a measure with index ppkA and key keyA is listed before one with ppkB and keyB, the
// weakest first: by Ppk ascending, equal ones by key ascending (a line's frequency), empty indices
// last among themselves by key. A strict weak order, for std::stable_sort.
bool RanksBefore(std::optional<double> ppkA, double keyA, std::optional<double> ppkB, double keyB);
