#pragma once

// The two floating-point formats of the signal-processing code.
//
// extended: the 80-bit x87 format (64-bit significand with explicit integer
//   bit, 15-bit exponent). All design and filtering arithmetic is done in it.
// single:   IEEE binary32. Sample, window and spectrum buffers hold it.

#include <limits>
#include <numbers>

using extended = long double;
using single = float;

static_assert(std::numeric_limits<extended>::radix == 2 && std::numeric_limits<extended>::digits == 64 &&
                  std::numeric_limits<extended>::max_exponent == 16384,
              "extended must be the 80-bit x87 format");
static_assert(std::numeric_limits<single>::is_iec559 && std::numeric_limits<single>::digits == 24 &&
                  sizeof(single) == 4,
              "single must be IEEE binary32");

// Pi rounded to the nearest extended value.
inline constexpr extended ExtendedPi = std::numbers::pi_v<extended>;
