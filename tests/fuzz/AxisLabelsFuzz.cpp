// Fuzz target: the label positions of a chart axis. Every call finishes on
// any input, and the label lists stay within their documented sizes.

#include "TFuzzInput.h"

#include "chart/axis/TAxisLabels.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TFuzzInput input(data, size);
    const double pixelSize = input.Take<double>();
    const double labelSize = input.Take<double>();
    const double separation = input.Take<double>();
    const int maxLabels = TAxisLabels::MaxLabelCount(pixelSize, labelSize, separation);

    const double range = input.Take<double>();
    const double increment = input.Take<double>();
    const bool grow = input.TakeBool();
    const double step =
        TAxisLabels::LinearLabelStep(range, input.TakeBool() ? input.Take<int>() : maxLabels, increment, grow);
    if (!(step >= TAxisLabels::MinLabelStep) && !std::isnan(step)) {
        std::abort(); // never below the smallest step
    }
    const double next = TAxisLabels::NextLabelStep(step);
    if (std::isfinite(step) && step > 0 && !(next > step)) {
        std::abort(); // the 1-2-5 walk always moves up
    }

    const double lo = input.Take<double>();
    const double hi = input.Take<double>();
    const double labelStep = input.TakeBool() ? step : input.Take<double>();
    const bool roundFirst = input.TakeBool();
    const auto linear = TAxisLabels::LinearLabelValues(lo, hi, labelStep, roundFirst);
    // Fewer than 10000 steps span the range; the tolerance below the lower
    // end (relative to it) may add some, up to the walk's own cap.
    if (linear.size() > 10002) {
        std::abort();
    }
    double logLo = lo;
    const auto logarithmic = TAxisLabels::LogLabelValues(logLo, hi, input.Take<double>());
    for (const double label : logarithmic) {
        if (!(label >= logLo && label <= hi)) {
            std::abort(); // the powers lie inside the axis
        }
    }
    return 0;
}
