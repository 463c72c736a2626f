#pragma once

// A cheap, exact test of whether doubles round to single as the extended
// values they approximate would, for the kernels that form single results in
// double (AVX2).
//
// A double v within `slack` units of its last place of a value x rounds to the
// same single as x rounded to extended, unless v lies within `slack` units of
// a point halfway between two singles, or 0 < |v| < 2^-125 (where singles lose
// bits). Each watched double leaves a key in one running minimum, so that a
// block of results is tested once: its low 32 bits give
// (low + 2^28 + slack) mod 2^29, at most 2*slack exactly when the 29 bits that
// rounding drops lie within `slack` of 1000...0; its high 32 bits give
// (|high| - 1) mod 2^31, below (898 << 20) - 1 exactly when 0 < |v| < 2^-125.
// Infinities and NaNs need no test: both ways give the same infinity, or a NaN.

#include <immintrin.h>

#include <cstdint>

namespace dspRoundingWatch {

struct TRoundingWatch {
    __m256i Add;
    __m256i Mask;
    __m256i Min;
};

// A watch that has seen nothing yet, for the given slack (1..1000).
__attribute__((target("avx2,fma"))) inline TRoundingWatch StartWatch(std::int32_t slack)
{
    const std::int64_t add = (std::int64_t{0x7FFFFFFF} << 32) | (0x10000000 + slack);
    const std::int64_t mask = (std::int64_t{0x7FFFFFFF} << 32) | 0x1FFFFFFF;
    return {_mm256_set1_epi64x(add), _mm256_set1_epi64x(mask), _mm256_set1_epi32(-1)};
}

// Forgets what w has seen.
__attribute__((target("avx2,fma"))) inline void ClearWatch(TRoundingWatch& w) { w.Min = _mm256_set1_epi32(-1); }

// Adds the four doubles of v to what w has seen.
__attribute__((target("avx2,fma"))) inline void Watch(TRoundingWatch& w, __m256d v)
{
    const __m256i key = _mm256_and_si256(_mm256_add_epi32(_mm256_castpd_si256(v), w.Add), w.Mask);
    w.Min = _mm256_min_epu32(w.Min, key);
}

// Whether any double w has seen may round otherwise than its extended value.
__attribute__((target("avx2,fma"))) inline bool WatchSawTrouble(const TRoundingWatch& w, std::int32_t slack)
{
    const std::int64_t limit = (std::int64_t{(898 << 20) - 2} << 32) | (2 * slack);
    const __m256i t = _mm256_set1_epi64x(limit);
    const __m256i below = _mm256_cmpeq_epi32(_mm256_min_epu32(w.Min, t), w.Min);
    return !_mm256_testz_si256(below, below);
}

} // namespace dspRoundingWatch
