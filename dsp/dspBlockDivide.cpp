#include "dsp/dspBlockDivide.h"

#include "dsp/dspRoundingWatch.h"

namespace {

using namespace dspRoundingWatch;

void DivideExtended(single* values, int count, extended divisor)
{
    for (int i = 0; i < count; ++i) {
        values[i] = static_cast<single>(static_cast<extended>(values[i]) / divisor);
    }
}

// q = x*r with r = 1/divisor rounded to extended and then to double: r is
// within 2^-53 * (1 + 2^-11) of 1/divisor relative, and the product rounds
// once more, so q lies within 1.51 units of its last place of the quotient.
// Slack 4 covers that; blocks with a quotient near a tie, or tiny, are done
// in extended. A divisor in [2^-800, 2^800] keeps x*r (|x| < 2^128) far from
// overflow, and computing r raises no flag.
constexpr std::int32_t QuotientSlack = 4;

__attribute__((target("avx2,fma"))) void DivideAvx2(single* values, int count, extended divisor)
{
    const __m256d r = _mm256_set1_pd(static_cast<double>(1.0L / divisor));
    const TRoundingWatch start = StartWatch(QuotientSlack);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256d q0 = _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(values + i)), r);
        const __m256d q1 = _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(values + i + 4)), r);
        TRoundingWatch w = start;
        Watch(w, q0);
        Watch(w, q1);
        if (WatchSawTrouble(w, QuotientSlack)) {
            DivideExtended(values + i, 8, divisor);
        } else {
            _mm_storeu_ps(values + i, _mm256_cvtpd_ps(q0));
            _mm_storeu_ps(values + i + 4, _mm256_cvtpd_ps(q1));
        }
    }
    DivideExtended(values + i, count - i, divisor);
}

bool HasAvx2Fma()
{
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return has;
}

} // namespace

void BlockDivide(single* values, int count, extended divisor)
{
    if (divisor >= 0x1p-800L && divisor <= 0x1p800L && HasAvx2Fma()) {
        DivideAvx2(values, count, divisor);
    } else {
        DivideExtended(values, count, divisor);
    }
}
