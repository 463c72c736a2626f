#include "core/base/Statistics.h"

#include <algorithm>
#include <cstddef>

double Median(std::span<double> values)
{
    const std::size_t middle = values.size() / 2;
    const auto middleAt = values.begin() + static_cast<std::ptrdiff_t>(middle);
    std::nth_element(values.begin(), middleAt, values.end());
    const double upper = *middleAt;
    if (values.size() % 2 != 0) {
        return upper;
    }
    const double lower = *std::max_element(values.begin(), middleAt);
    return (lower + upper) / 2;
}
