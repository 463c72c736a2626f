#include "core/spc/ControlConstants.h"

#include <array>
#include <stdexcept>
#include <string>

namespace {

// The factors for X-bar and R charts to 3 decimals, from ASTM E2587 (Standard Practice for Use of
// Control Charts in Statistical Process Control); the NIST/SEMATECH e-Handbook of Statistical
// Methods, section 6.3, derives and uses them. Rows for n = 2 to 25: A2, D3, D4, d2.
constexpr std::array<TRangeChartFactors, MaxSubgroupSize - 1> Factors = {{
    {1.880, 0.000, 3.267, 1.128}, // 2
    {1.023, 0.000, 2.574, 1.693}, // 3
    {0.729, 0.000, 2.282, 2.059}, // 4
    {0.577, 0.000, 2.114, 2.326}, // 5
    {0.483, 0.000, 2.004, 2.534}, // 6
    {0.419, 0.076, 1.924, 2.704}, // 7
    {0.373, 0.136, 1.864, 2.847}, // 8
    {0.337, 0.184, 1.816, 2.970}, // 9
    {0.308, 0.223, 1.777, 3.078}, // 10
    {0.285, 0.256, 1.744, 3.173}, // 11
    {0.266, 0.283, 1.717, 3.258}, // 12
    {0.249, 0.307, 1.693, 3.336}, // 13
    {0.235, 0.328, 1.672, 3.407}, // 14
    {0.223, 0.347, 1.653, 3.472}, // 15
    {0.212, 0.363, 1.637, 3.532}, // 16
    {0.203, 0.378, 1.622, 3.588}, // 17
    {0.194, 0.391, 1.608, 3.640}, // 18
    {0.187, 0.403, 1.597, 3.689}, // 19
    {0.180, 0.415, 1.585, 3.735}, // 20
    {0.173, 0.425, 1.575, 3.778}, // 21
    {0.167, 0.434, 1.566, 3.819}, // 22
    {0.162, 0.443, 1.557, 3.858}, // 23
    {0.157, 0.451, 1.548, 3.895}, // 24
    {0.153, 0.459, 1.541, 3.931}, // 25
}};

} // namespace

const TRangeChartFactors& RangeChartFactors(int subgroupSize)
{
    if (subgroupSize < 2 || subgroupSize > MaxSubgroupSize) {
        throw std::out_of_range("no range chart factors for subgroups of " + std::to_string(subgroupSize));
    }
    return Factors[static_cast<std::size_t>(subgroupSize - 2)];
}
