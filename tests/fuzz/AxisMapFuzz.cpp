// Fuzz target: the value <-> pixel map of a chart axis on any range, pixel
// extent and value, NaNs and infinities included. Every result is defined:
// the map never converts an out-of-range double to an integer (UBSan's
// float-cast-overflow would say), and a value of the range maps inside the
// axis's pixels.

#include "TFuzzInput.h"

#include "chart/axis/TAxisMap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TFuzzInput input(data, size);
    TAxisMap map;
    map.Lo = input.Take<double>();
    map.Hi = input.Take<double>();
    map.Start = input.Take<int>();
    map.End = input.Take<int>();
    map.Horizontal = input.TakeBool();
    map.Logarithmic = input.TakeBool();
    map.Inverted = input.TakeBool();
    while (input.Remaining() > 0) {
        const double value = input.Take<double>();
        const int pixel = map.ValueToPixel(value);
        (void)map.Offset(value);
        (void)map.PixelToValue(pixel);
        (void)map.PixelToValue(input.Take<int>());
        // Inside a plain linear axis, a value of the range lies on its pixels.
        const bool plain = !map.Logarithmic && std::isfinite(map.Lo) && std::isfinite(map.Hi) && map.Lo < map.Hi &&
                           std::abs(static_cast<long long>(map.End) - map.Start) < (1 << 20);
        if (plain && value >= map.Lo && value <= map.Hi) {
            const int low = std::min(map.Start, map.End);
            const int high = std::max(map.Start, map.End);
            if (pixel < low || pixel > high) {
                std::abort();
            }
        }
    }
    return 0;
}
