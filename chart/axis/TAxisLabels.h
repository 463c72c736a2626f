#pragma once

#include <vector>

// Label positions of one chart axis, computed without a widget.
namespace TAxisLabels {
// Smallest label step ever used.
inline constexpr double MinLabelStep = 1e-12;

// How many labels fit on an axis of pixelSize pixels when one label takes
// labelSize pixels plus separationPercent percent of it as free space:
// rnd(s / (L + rnd(L * sep / 100))), or 1 when the label size is 0.
int MaxLabelCount(double pixelSize, double labelSize, double separationPercent);

// The step after `step` in the 1-2-5 sequence (1 -> 2 -> 5 -> 10 -> 20 ...).
// Always strictly larger than `step` for a finite positive step.
double NextLabelStep(double step);

// Label step of a linear axis of range `range` holding at most maxLabels
// labels. Starts at `increment` when it is > 0, else at 1 (|range| >= 1) or
// 1e-12, and walks up the 1-2-5 sequence while rnd(range / step) > maxLabels.
// With grow false (no separation between labels) the step keeps its start.
// maxLabels < 1 gives 1e-12. Never below 1e-12; finishes for any input.
double LinearLabelStep(double range, int maxLabels, double increment, bool grow = true);

// Label values of a linear axis from hi downwards by `step`: none when
// |range / step| >= 10000 or anything is non-finite, one at hi when lo = hi.
// With roundFirst the first label is the largest multiple of the step not
// above hi, otherwise hi itself.
std::vector<double> LinearLabelValues(double lo, double hi, double step, bool roundFirst);

// Labels of a logarithmic axis: the powers of `base` inside [lo, hi]. A lower
// end of exactly 0 becomes 0.1 and a negative one 1e-10 first; `lo` is updated
// in place because the axis takes that new lower end. None when lo = hi.
std::vector<double> LogLabelValues(double& lo, double hi, double base);
} // namespace TAxisLabels
