#include "dsp/dspFFTStages.h"

#include <immintrin.h>

#include <cmath>
#include <cstring>

namespace dspFFTStages {
namespace {

// Whether rounding v (a double) to single might differ from rounding the value
// it approximates (within `slack` units of v's last place) to extended and then
// to single: v lies near a halfway point between two singles, or outside the
// range where singles have their full 24 bits. Zero is exact.
inline bool NearTie(double v, std::int64_t slack)
{
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const std::int64_t low = static_cast<std::int64_t>(bits & 0x1FFFFFFFu) - 0x10000000;
    const double a = std::fabs(v);
    const bool outOfRange = (a < 0x1p-125 && a != 0.0) || !(a < 0x1p127);
    return outOfRange || (low >= -slack && low <= slack);
}

constexpr std::int32_t ButterflySlack = 1;
constexpr std::int32_t MagnitudeSlack = 8;

inline void ScalarButterfly(single* xr, single* xi, int a, int b, double ur, double ui)
{
    const double br = xr[b];
    const double bi = xi[b];
    const double dr = ur * br - ui * bi;
    const double di = ur * bi + ui * br;
    single tr;
    single ti;
    if (NearTie(dr, ButterflySlack) || NearTie(di, ButterflySlack)) {
        const single fr = static_cast<single>(ur);
        const single fi = static_cast<single>(ui);
        tr = MulRe(fr, fi, xr[b], xi[b]);
        ti = MulIm(fr, fi, xr[b], xi[b]);
    } else {
        tr = static_cast<single>(dr);
        ti = static_cast<single>(di);
    }
    const single ar = xr[a];
    const single ai = xi[a];
    xr[b] = ar - tr;
    xi[b] = ai - ti;
    xr[a] = ar + tr;
    xi[a] = ai + ti;
}

inline single ScalarMagnitude(single re, single im, single scale)
{
    const double dr = re;
    const double di = im;
    const double v = std::sqrt(dr * dr + di * di) * static_cast<double>(scale);
    if (!NearTie(v, MagnitudeSlack)) {
        return static_cast<single>(v);
    }
    const extended er = re;
    const extended ei = im;
    return static_cast<single>(std::sqrt(er * er + ei * ei) * static_cast<extended>(scale));
}

// Stages kBegin..kEnd-1 of a transform of n points, one butterfly at a time.
void StagesScalar(single* xr, single* xi, int n, int kBegin, int kEnd, const double* factorRe, const double* factorIm)
{
    for (int k = kBegin; k < kEnd; ++k) {
        const int h = 1 << k;
        const double* ur = factorRe + h - 1;
        const double* ui = factorIm + h - 1;
        for (int a0 = 0; a0 < n; a0 += 2 * h) {
            for (int j = 0; j < h; ++j) {
                ScalarButterfly(xr, xi, a0 + j, a0 + j + h, ur[j], ui[j]);
            }
        }
    }
}

void MagnitudesScalar(single* xr, const single* xi, int count, single scale)
{
    for (int m = 0; m < count; ++m) {
        xr[m] = ScalarMagnitude(xr[m], xi[m], scale);
    }
}

// Whether any lane of a or b needs the extended computation (see NearTie).
// Works on the two 32-bit halves of every double: the low half holds the 29
// bits that rounding to single drops, the high half the sign and exponent.
__attribute__((target("avx2"))) inline bool AnyNearTie(__m256d a, __m256d b, std::int32_t slack)
{
    const __m256 fa = _mm256_castpd_ps(a);
    const __m256 fb = _mm256_castpd_ps(b);
    const __m256i low = _mm256_castps_si256(_mm256_shuffle_ps(fa, fb, 0x88));
    const __m256i high = _mm256_castps_si256(_mm256_shuffle_ps(fa, fb, 0xDD));
    // Dropped bits within `slack` of 1000...0: x - base < 2*slack + 1, unsigned.
    const __m256i d =
        _mm256_sub_epi32(_mm256_and_si256(low, _mm256_set1_epi32(0x1FFFFFFF)), _mm256_set1_epi32(0x10000000 - slack));
    const __m256i tie = _mm256_cmpeq_epi32(_mm256_min_epu32(d, _mm256_set1_epi32(2 * slack)), d);
    // |v| in [2^-125, 2^127): biased exponent 898..1149; or v = +-0.
    const __m256i e = _mm256_and_si256(high, _mm256_set1_epi32(0x7FFFFFFF));
    const __m256i r = _mm256_sub_epi32(e, _mm256_set1_epi32(898 << 20));
    const __m256i inRange = _mm256_cmpeq_epi32(_mm256_min_epu32(r, _mm256_set1_epi32((252 << 20) - 1)), r);
    const __m256i zero = _mm256_cmpeq_epi32(e, _mm256_setzero_si256());
    const __m256i ok = _mm256_or_si256(inRange, zero);
    return !_mm256_testz_si256(tie, tie) || !_mm256_testc_si256(ok, _mm256_set1_epi32(-1));
}

// Four butterflies (a + 0..3, b + 0..3) with factors ur[0..3], ui[0..3].
__attribute__((target("avx2"))) inline void Butterfly4(single* xr, single* xi, int a, int b, const double* ur,
                                                       const double* ui)
{
    const __m256d vr = _mm256_loadu_pd(ur);
    const __m256d vi = _mm256_loadu_pd(ui);
    const __m256d br = _mm256_cvtps_pd(_mm_loadu_ps(xr + b));
    const __m256d bi = _mm256_cvtps_pd(_mm_loadu_ps(xi + b));
    const __m256d dr = _mm256_sub_pd(_mm256_mul_pd(vr, br), _mm256_mul_pd(vi, bi));
    const __m256d di = _mm256_add_pd(_mm256_mul_pd(vr, bi), _mm256_mul_pd(vi, br));
    if (AnyNearTie(dr, di, ButterflySlack)) {
        for (int j = 0; j < 4; ++j) {
            ScalarButterfly(xr, xi, a + j, b + j, ur[j], ui[j]);
        }
        return;
    }
    const __m128 tr = _mm256_cvtpd_ps(dr);
    const __m128 ti = _mm256_cvtpd_ps(di);
    const __m128 ar = _mm_loadu_ps(xr + a);
    const __m128 ai = _mm_loadu_ps(xi + a);
    _mm_storeu_ps(xr + b, _mm_sub_ps(ar, tr));
    _mm_storeu_ps(xi + b, _mm_sub_ps(ai, ti));
    _mm_storeu_ps(xr + a, _mm_add_ps(ar, tr));
    _mm_storeu_ps(xi + a, _mm_add_ps(ai, ti));
}

// t = (1, 0)*x formed in extended and rounded to single is x.re - 0*x.im and
// x.im + 0*x.re exactly (signs of zeros included), which single
// arithmetic gives as well.
__attribute__((target("avx2"))) inline void UnitButterfly4(__m128& ar, __m128& ai, __m128& br, __m128& bi)
{
    const __m128 zero = _mm_setzero_ps();
    const __m128 tr = _mm_sub_ps(br, _mm_mul_ps(zero, bi));
    const __m128 ti = _mm_add_ps(bi, _mm_mul_ps(zero, br));
    br = _mm_sub_ps(ar, tr);
    bi = _mm_sub_ps(ai, ti);
    ar = _mm_add_ps(ar, tr);
    ai = _mm_add_ps(ai, ti);
}

// Stages 0 and 1 on sixteen points (four groups of four): transposed so that
// each vector holds the same position of the four groups. Returns false, with
// nothing stored, when a product of stage 1 needs the extended computation.
__attribute__((target("avx2"))) inline bool FirstStages16(single* xr, single* xi, const __m256d& u1r,
                                                           const __m256d& u1i)
{
    __m128 r0 = _mm_loadu_ps(xr);
    __m128 r1 = _mm_loadu_ps(xr + 4);
    __m128 r2 = _mm_loadu_ps(xr + 8);
    __m128 r3 = _mm_loadu_ps(xr + 12);
    __m128 i0 = _mm_loadu_ps(xi);
    __m128 i1 = _mm_loadu_ps(xi + 4);
    __m128 i2 = _mm_loadu_ps(xi + 8);
    __m128 i3 = _mm_loadu_ps(xi + 12);
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    _MM_TRANSPOSE4_PS(i0, i1, i2, i3);
    UnitButterfly4(r0, i0, r1, i1);
    UnitButterfly4(r2, i2, r3, i3);
    const __m256d br = _mm256_cvtps_pd(r3);
    const __m256d bi = _mm256_cvtps_pd(i3);
    const __m256d dr = _mm256_sub_pd(_mm256_mul_pd(u1r, br), _mm256_mul_pd(u1i, bi));
    const __m256d di = _mm256_add_pd(_mm256_mul_pd(u1r, bi), _mm256_mul_pd(u1i, br));
    if (AnyNearTie(dr, di, ButterflySlack)) {
        return false;
    }
    UnitButterfly4(r0, i0, r2, i2);
    const __m128 tr = _mm256_cvtpd_ps(dr);
    const __m128 ti = _mm256_cvtpd_ps(di);
    r3 = _mm_sub_ps(r1, tr);
    i3 = _mm_sub_ps(i1, ti);
    r1 = _mm_add_ps(r1, tr);
    i1 = _mm_add_ps(i1, ti);
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    _MM_TRANSPOSE4_PS(i0, i1, i2, i3);
    _mm_storeu_ps(xr, r0);
    _mm_storeu_ps(xr + 4, r1);
    _mm_storeu_ps(xr + 8, r2);
    _mm_storeu_ps(xr + 12, r3);
    _mm_storeu_ps(xi, i0);
    _mm_storeu_ps(xi + 4, i1);
    _mm_storeu_ps(xi + 8, i2);
    _mm_storeu_ps(xi + 12, i3);
    return true;
}

__attribute__((target("avx2"))) void StagesAvx2(single* xr, single* xi, int power, const double* factorRe,
                                                const double* factorIm)
{
    const int n = 1 << power;
    if (n < 16) {
        StagesScalar(xr, xi, n, 0, power, factorRe, factorIm);
        return;
    }
    // Stages 0 and 1 have fewer than four butterflies per group: sixteen points at a time.
    const __m256d u1r = _mm256_set1_pd(factorRe[2]);
    const __m256d u1i = _mm256_set1_pd(factorIm[2]);
    for (int g = 0; g < n; g += 16) {
        if (!FirstStages16(xr + g, xi + g, u1r, u1i)) {
            StagesScalar(xr + g, xi + g, 16, 0, 2, factorRe, factorIm);
        }
    }
    for (int k = 2; k < power; ++k) {
        const int h = 1 << k;
        const double* ur = factorRe + h - 1;
        const double* ui = factorIm + h - 1;
        for (int a0 = 0; a0 < n; a0 += 2 * h) {
            for (int j = 0; j < h; j += 4) {
                Butterfly4(xr, xi, a0 + j, a0 + j + h, ur + j, ui + j);
            }
        }
    }
}

__attribute__((target("avx2"))) void MagnitudesAvx2(single* xr, const single* xi, int count, single scale)
{
    const __m256d s = _mm256_set1_pd(scale);
    int m = 0;
    for (; m + 4 <= count; m += 4) {
        const __m256d re = _mm256_cvtps_pd(_mm_loadu_ps(xr + m));
        const __m256d im = _mm256_cvtps_pd(_mm_loadu_ps(xi + m));
        const __m256d v = _mm256_mul_pd(_mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(re, re), _mm256_mul_pd(im, im))), s);
        if (AnyNearTie(v, v, MagnitudeSlack)) {
            for (int j = 0; j < 4; ++j) {
                xr[m + j] = ScalarMagnitude(xr[m + j], xi[m + j], scale);
            }
        } else {
            _mm_storeu_ps(xr + m, _mm256_cvtpd_ps(v));
        }
    }
    MagnitudesScalar(xr + m, xi + m, count - m, scale);
}

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

} // namespace

void RunStages(single* xr, single* xi, int power, const double* factorRe, const double* factorIm)
{
    if (HasAvx2()) {
        StagesAvx2(xr, xi, power, factorRe, factorIm);
    } else {
        StagesScalar(xr, xi, 1 << power, 0, power, factorRe, factorIm);
    }
}

void RunMagnitudes(single* xr, const single* xi, int count, single scale)
{
    if (HasAvx2()) {
        MagnitudesAvx2(xr, xi, count, scale);
    } else {
        MagnitudesScalar(xr, xi, count, scale);
    }
}

} // namespace dspFFTStages
