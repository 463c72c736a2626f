#pragma once

#include <span>

// Statistics of plain values, one definition for every figure that uses them: the centre and
// spread of a mask's lines, the median spectrum of a report, the drift of a control chart.

// The median of values, which it reorders: the middle one, or the mean of the middle two for an
// even count. values must not be empty.
double Median(std::span<double> values);
