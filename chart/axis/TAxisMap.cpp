#include "chart/axis/TAxisMap.h"

#include <cmath>
#include <limits>

namespace {
constexpr double MaxPixelOffset = 2147483647.0;

int ClampToInt(long long value)
{
    if (value > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    if (value < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

double SafeLog(double value) { return value > 0.0 ? std::log(value) : 0.0; }
} // namespace

double RoundHalfEven(double value) { return std::nearbyint(value); }

double TAxisMap::Offset(double value) const
{
    if (Logarithmic) {
        const double lmin = SafeLog(Lo);
        const double lmax = SafeLog(Hi);
        if (lmax == lmin || !(value > 0.0)) {
            return std::numeric_limits<double>::quiet_NaN();
        }
        return (std::log(value) - lmin) * Size() / (lmax - lmin);
    }
    const double range = Range();
    if (range == 0.0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return (value - Lo) * Size() / range;
}

int TAxisMap::Size() const { return ClampToInt(static_cast<long long>(End) - Start); }

int TAxisMap::ValueToPixel(double value) const
{
    if (Logarithmic && value <= 0.0 && SafeLog(Hi) != SafeLog(Lo)) {
        // No logarithm: the value sits at the lower end of the axis.
        return Ascending() ? Start : End;
    }
    const double d = Offset(value);
    // NaN fails the comparison too, so it lands on the centre as well.
    if (!(std::fabs(d) < MaxPixelOffset)) {
        return Centre();
    }
    const auto offset = static_cast<long long>(RoundHalfEven(d));
    return Ascending() ? ClampToInt(Start + offset) : ClampToInt(End - offset);
}

double TAxisMap::ClampedPixel(double value, double far) const
{
    const double d = Offset(value);
    if (std::isnan(d)) {
        return ValueToPixel(value); // no offset: the centre, or the lower end of a logarithmic axis
    }
    const double offset = RoundHalfEven(std::fmax(-far, std::fmin(far, d)));
    return Ascending() ? Start + offset : End - offset;
}

double TAxisMap::PixelToValue(int pixel) const
{
    const double size = Size();
    if (Logarithmic) {
        if (pixel == Start) {
            return Ascending() ? Lo : Hi;
        }
        if (pixel == End) {
            return Ascending() ? Hi : Lo;
        }
        const double lmin = SafeLog(Lo);
        const double lmax = SafeLog(Hi);
        if (lmax == lmin || size < 1.0) {
            return Lo;
        }
        const double fraction = (static_cast<double>(pixel) - Start) / size;
        return Ascending() ? std::exp(lmin + (lmax - lmin) * fraction) : std::exp(lmax - (lmax - lmin) * fraction);
    }
    if (size < 1.0) {
        return 0.0;
    }
    const double a = (static_cast<double>(pixel) - Start) * Range() / size;
    return Ascending() ? Lo + a : Hi - a;
}
