#include "chart/axis/TAxisLabels.h"

#include "chart/axis/TAxisMap.h"

#include <cmath>

namespace TAxisLabels {
namespace {
// Upper bound on the steps of the 1-2-5 walk and on the labels of one axis;
// the widest finite range needs about a thousand steps from 1e-12.
constexpr int MaxStepWalk = 4000;
constexpr double MaxLabelsPerAxis = 10000.0;
constexpr double MaxInt32 = 2147483647.0;
constexpr double LowerEndTolerance = 1e-12;
constexpr double LowerEndFactor = 1.000000000001;

// base raised to the whole exponent. For base 10 and exponents up to 22 either way the power is
// formed exactly (10^22 is the largest power of ten a double holds) and a negative one is a single
// correctly rounded division, so the labels are the same whatever pow the C runtime has (MinGW's
// differs from glibc's in the last bit for negative powers of ten; these equal glibc's).
double WholePower(double base, double exponent)
{
    if (base != 10.0 || !(std::fabs(exponent) <= 22.0) || exponent != std::floor(exponent)) {
        return std::pow(base, exponent);
    }
    double power = 1.0;
    for (int i = 0; i < static_cast<int>(std::fabs(exponent)); ++i) {
        power *= 10.0;
    }
    return exponent < 0.0 ? 1.0 / power : power;
}
} // namespace

int MaxLabelCount(double pixelSize, double labelSize, double separationPercent)
{
    if (labelSize == 0.0) {
        return 1;
    }
    const double perLabel = labelSize + RoundHalfEven(labelSize * separationPercent / 100.0);
    const double count = RoundHalfEven(pixelSize / perLabel);
    if (!(count < MaxInt32)) {
        return count > 0.0 ? static_cast<int>(MaxInt32) : 0;
    }
    return count < 0.0 ? 0 : static_cast<int>(count);
}

double NextLabelStep(double step)
{
    if (!(step > 0.0) || !std::isfinite(step)) {
        return step;
    }
    int exponent = static_cast<int>(std::floor(std::log10(step)));
    double power = WholePower(10.0, exponent);
    double mantissa = step / power;
    // log10 can be one off at exact powers of ten; bring the mantissa into [1, 10).
    if (mantissa >= 10.0) {
        power *= 10.0;
        mantissa /= 10.0;
    } else if (mantissa < 1.0) {
        power /= 10.0;
        mantissa *= 10.0;
    }
    // A small tolerance keeps 1.9999999 (a 2 that lost its last bit) from
    // mapping to 2 again.
    constexpr double eps = 1e-9;
    double next;
    if (mantissa < 2.0 - eps) {
        next = 2.0 * power;
    } else if (mantissa < 5.0 - eps) {
        next = 5.0 * power;
    } else {
        next = 10.0 * power;
    }
    if (!(next > step * (1.0 + eps))) {
        next = step * 2.0;
    }
    return next;
}

double LinearLabelStep(double range, int maxLabels, double increment, bool grow)
{
    if (maxLabels < 1) {
        return MinLabelStep;
    }
    const double span = std::fabs(range);
    double step;
    if (increment > 0.0) {
        step = increment;
    } else {
        step = span >= 1.0 ? 1.0 : MinLabelStep;
    }
    if (!(step >= MinLabelStep)) {
        step = MinLabelStep;
    }
    if (!grow || !std::isfinite(span) || !std::isfinite(step)) {
        return step;
    }
    for (int walk = 0; walk < MaxStepWalk; ++walk) {
        const double ratio = span / step;
        if (ratio < MaxInt32 && RoundHalfEven(ratio) <= maxLabels) {
            break;
        }
        step = NextLabelStep(step);
    }
    return step;
}

std::vector<double> LinearLabelValues(double lo, double hi, double step, bool roundFirst)
{
    std::vector<double> labels;
    const double range = hi - lo;
    if (!std::isfinite(lo) || !std::isfinite(hi) || !std::isfinite(range) || !(step > 0.0) || !std::isfinite(step) ||
        !(std::fabs(range / step) < MaxLabelsPerAxis)) {
        return labels;
    }
    if (lo == hi) {
        labels.push_back(hi);
        return labels;
    }
    const double first = roundFirst ? step * std::floor(hi / step) : hi;
    const double limit = (lo - LowerEndTolerance) / LowerEndFactor;
    // Each value is computed from the first one, so rounding errors do not add up.
    for (int k = 0; k <= static_cast<int>(MaxLabelsPerAxis) + 1; ++k) {
        const double value = first - k * step;
        if (!(value >= limit)) {
            break;
        }
        if (value <= hi) {
            labels.push_back(value);
        }
    }
    return labels;
}

std::vector<double> LogLabelValues(double& lo, double hi, double base)
{
    std::vector<double> labels;
    if (lo == hi || !std::isfinite(lo) || !std::isfinite(hi)) {
        return labels;
    }
    if (!(base > 1.0) || !std::isfinite(base)) {
        return labels;
    }
    double candidate;
    if (lo > 0.0) {
        candidate = WholePower(base, RoundHalfEven(std::log(lo) / std::log(base)));
    } else {
        lo = lo == 0.0 ? 0.1 : 1e-10;
        candidate = lo;
    }
    for (int k = 0; k < MaxLabelsPerAxis && std::isfinite(candidate) && candidate <= hi; ++k) {
        if (candidate >= lo) {
            labels.push_back(candidate);
        }
        candidate *= base;
    }
    return labels;
}
} // namespace TAxisLabels
