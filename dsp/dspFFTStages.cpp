#include "dsp/dspFFTStages.h"

#include "dsp/dspRoundingWatch.h"

#include <immintrin.h>

#include <cmath>
#include <cstring>

namespace dspFFTStages {
namespace {

using namespace dspRoundingWatch;

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

// The whole transform in radix-4 passes that keep every rounding of the
// radix-2 stages. Each block of butterflies leaves the keys of its products in
// a TRoundingWatch (see dspRoundingWatch.h) and is stored only when none came
// near a tie; otherwise the block is done again from its inputs, still in
// memory, one butterfly at a time with the NearTie check.

// Four butterflies b' = a - u*b, a' = a + u*b; u*b formed in double (exact
// products, one rounding of their sum, as the fused operation gives too) and
// rounded to single.
__attribute__((target("avx2,fma"))) inline void WatchedButterfly4(__m128& ar, __m128& ai, __m128& br, __m128& bi,
                                                                  __m256d ur, __m256d ui, TRoundingWatch& w)
{
    const __m256d dbr = _mm256_cvtps_pd(br);
    const __m256d dbi = _mm256_cvtps_pd(bi);
    const __m256d dr = _mm256_fmsub_pd(ur, dbr, _mm256_mul_pd(ui, dbi));
    const __m256d di = _mm256_fmadd_pd(ur, dbi, _mm256_mul_pd(ui, dbr));
    Watch(w, dr);
    Watch(w, di);
    const __m128 tr = _mm256_cvtpd_ps(dr);
    const __m128 ti = _mm256_cvtpd_ps(di);
    br = _mm_sub_ps(ar, tr);
    bi = _mm_sub_ps(ai, ti);
    ar = _mm_add_ps(ar, tr);
    ai = _mm_add_ps(ai, ti);
}

// Four inputs; when Weighted, times the window weights, stored back as the
// weighted input (one single product each, as the plain window loop).
template <bool Weighted>
__attribute__((target("avx2,fma"))) inline __m128 LoadInput(single* inRe, const single* window, int at)
{
    __m128 x = _mm_loadu_ps(inRe + at);
    if (Weighted) {
        x = _mm_mul_ps(x, _mm_loadu_ps(window + at));
        _mm_storeu_ps(inRe + at, x);
    }
    return x;
}

// The first stages of one group of `size` points done one at a time: the
// group's (already weighted) inputs in bit-reversed order, then stages
// 0..log2(size) - 1.
void CarefulGroup(const single* inRe, const single* inIm, single* xr, single* xi, int first, int size,
                  const std::int32_t* bitReverse, const double* factorRe, const double* factorIm)
{
    for (int i = first; i < first + size; ++i) {
        xr[i] = inRe[bitReverse[i]];
        xi[i] = inIm[bitReverse[i]];
    }
    StagesScalar(xr + first, xi + first, size, 0, size == 4 ? 2 : 3, factorRe, factorIm);
}

// Bit reversal with stages 0 and 1: point 4g + r of the reordered array is
// input rev2(r)*n/4 + rev(g), so four consecutive inputs per r serve four
// groups g at once, one group per lane; a transpose then gives each group its
// four consecutive outputs.
template <bool Weighted>
__attribute__((target("avx2,fma"))) void FirstPass(single* inRe, const single* inIm, const single* window, single* xr,
                                                   single* xi, int n, const std::int32_t* bitReverse,
                                                   const double* factorRe, const double* factorIm)
{
    const int q = n / 4;
    const __m256d u1r = _mm256_set1_pd(factorRe[2]);
    const __m256d u1i = _mm256_set1_pd(factorIm[2]);
    TRoundingWatch w = StartWatch(ButterflySlack);
    for (int b = 0; b < q; b += 4) {
        __m128 r0 = LoadInput<Weighted>(inRe, window, b);
        __m128 r1 = LoadInput<Weighted>(inRe, window, b + 2 * q);
        __m128 r2 = LoadInput<Weighted>(inRe, window, b + q);
        __m128 r3 = LoadInput<Weighted>(inRe, window, b + 3 * q);
        __m128 i0 = _mm_loadu_ps(inIm + b);
        __m128 i1 = _mm_loadu_ps(inIm + b + 2 * q);
        __m128 i2 = _mm_loadu_ps(inIm + b + q);
        __m128 i3 = _mm_loadu_ps(inIm + b + 3 * q);
        UnitButterfly4(r0, i0, r1, i1);
        UnitButterfly4(r2, i2, r3, i3);
        UnitButterfly4(r0, i0, r2, i2);
        ClearWatch(w);
        WatchedButterfly4(r1, i1, r3, i3, u1r, u1i, w);
        const std::int32_t* g = bitReverse + 4 * b;
        if (WatchSawTrouble(w, ButterflySlack)) {
            for (int l = 0; l < 4; ++l) {
                CarefulGroup(inRe, inIm, xr, xi, 4 * g[4 * l], 4, bitReverse, factorRe, factorIm);
            }
            continue;
        }
        _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
        _MM_TRANSPOSE4_PS(i0, i1, i2, i3);
        _mm_storeu_ps(xr + 4 * g[0], r0);
        _mm_storeu_ps(xi + 4 * g[0], i0);
        _mm_storeu_ps(xr + 4 * g[4], r1);
        _mm_storeu_ps(xi + 4 * g[4], i1);
        _mm_storeu_ps(xr + 4 * g[8], r2);
        _mm_storeu_ps(xi + 4 * g[8], i2);
        _mm_storeu_ps(xr + 4 * g[12], r3);
        _mm_storeu_ps(xi + 4 * g[12], i3);
    }
}

// Bit reversal with stages 0, 1 and 2, as FirstPass but with groups of
// eight: point 8g + r is input rev3(r)*n/8 + rev(g).
template <bool Weighted>
__attribute__((target("avx2,fma"))) void FirstPass8(single* inRe, const single* inIm, const single* window, single* xr,
                                                    single* xi, int n, const std::int32_t* bitReverse,
                                                    const double* factorRe, const double* factorIm)
{
    const int o = n / 8;
    const __m256d u1r = _mm256_set1_pd(factorRe[2]);
    const __m256d u1i = _mm256_set1_pd(factorIm[2]);
    TRoundingWatch w = StartWatch(ButterflySlack);
    for (int b = 0; b < o; b += 4) {
        __m128 r0 = LoadInput<Weighted>(inRe, window, b);
        __m128 r1 = LoadInput<Weighted>(inRe, window, b + 4 * o);
        __m128 r2 = LoadInput<Weighted>(inRe, window, b + 2 * o);
        __m128 r3 = LoadInput<Weighted>(inRe, window, b + 6 * o);
        __m128 r4 = LoadInput<Weighted>(inRe, window, b + o);
        __m128 r5 = LoadInput<Weighted>(inRe, window, b + 5 * o);
        __m128 r6 = LoadInput<Weighted>(inRe, window, b + 3 * o);
        __m128 r7 = LoadInput<Weighted>(inRe, window, b + 7 * o);
        __m128 i0 = _mm_loadu_ps(inIm + b);
        __m128 i1 = _mm_loadu_ps(inIm + b + 4 * o);
        __m128 i2 = _mm_loadu_ps(inIm + b + 2 * o);
        __m128 i3 = _mm_loadu_ps(inIm + b + 6 * o);
        __m128 i4 = _mm_loadu_ps(inIm + b + o);
        __m128 i5 = _mm_loadu_ps(inIm + b + 5 * o);
        __m128 i6 = _mm_loadu_ps(inIm + b + 3 * o);
        __m128 i7 = _mm_loadu_ps(inIm + b + 7 * o);
        UnitButterfly4(r0, i0, r1, i1);
        UnitButterfly4(r2, i2, r3, i3);
        UnitButterfly4(r4, i4, r5, i5);
        UnitButterfly4(r6, i6, r7, i7);
        ClearWatch(w);
        UnitButterfly4(r0, i0, r2, i2);
        WatchedButterfly4(r1, i1, r3, i3, u1r, u1i, w);
        UnitButterfly4(r4, i4, r6, i6);
        WatchedButterfly4(r5, i5, r7, i7, u1r, u1i, w);
        UnitButterfly4(r0, i0, r4, i4);
        WatchedButterfly4(r1, i1, r5, i5, _mm256_set1_pd(factorRe[4]), _mm256_set1_pd(factorIm[4]), w);
        WatchedButterfly4(r2, i2, r6, i6, _mm256_set1_pd(factorRe[5]), _mm256_set1_pd(factorIm[5]), w);
        WatchedButterfly4(r3, i3, r7, i7, _mm256_set1_pd(factorRe[6]), _mm256_set1_pd(factorIm[6]), w);
        const std::int32_t* g = bitReverse + 8 * b;
        if (WatchSawTrouble(w, ButterflySlack)) {
            for (int l = 0; l < 4; ++l) {
                CarefulGroup(inRe, inIm, xr, xi, 8 * g[8 * l], 8, bitReverse, factorRe, factorIm);
            }
            continue;
        }
        _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
        _MM_TRANSPOSE4_PS(r4, r5, r6, r7);
        _MM_TRANSPOSE4_PS(i0, i1, i2, i3);
        _MM_TRANSPOSE4_PS(i4, i5, i6, i7);
        _mm_storeu_ps(xr + 8 * g[0], r0);
        _mm_storeu_ps(xr + 8 * g[0] + 4, r4);
        _mm_storeu_ps(xi + 8 * g[0], i0);
        _mm_storeu_ps(xi + 8 * g[0] + 4, i4);
        _mm_storeu_ps(xr + 8 * g[8], r1);
        _mm_storeu_ps(xr + 8 * g[8] + 4, r5);
        _mm_storeu_ps(xi + 8 * g[8], i1);
        _mm_storeu_ps(xi + 8 * g[8] + 4, i5);
        _mm_storeu_ps(xr + 8 * g[16], r2);
        _mm_storeu_ps(xr + 8 * g[16] + 4, r6);
        _mm_storeu_ps(xi + 8 * g[16], i2);
        _mm_storeu_ps(xi + 8 * g[16] + 4, i6);
        _mm_storeu_ps(xr + 8 * g[24], r3);
        _mm_storeu_ps(xr + 8 * g[24] + 4, r7);
        _mm_storeu_ps(xi + 8 * g[24], i3);
        _mm_storeu_ps(xi + 8 * g[24] + 4, i7);
    }
}

// Stages k and k + 1 for `lanes` consecutive points from p, one butterfly at
// a time (h = 2^k): the same butterflies as PairPass.
void CarefulPair(single* xr, single* xi, int p, int lanes, int h, const double* ukr, const double* uki,
                 const double* unr, const double* uni)
{
    for (int l = 0; l < lanes; ++l) {
        const int a = p + l;
        const int j = a % (4 * h);
        ScalarButterfly(xr, xi, a, a + h, ukr[j], uki[j]);
        ScalarButterfly(xr, xi, a + 2 * h, a + 3 * h, ukr[j], uki[j]);
        ScalarButterfly(xr, xi, a, a + 2 * h, unr[j], uni[j]);
        ScalarButterfly(xr, xi, a + h, a + 3 * h, unr[j + h], uni[j + h]);
    }
}

// Stages k and k + 1 (h = 2^k >= 4) in one pass over the data: points
// p, p + h, p + 2h, p + 3h meet in stage k (pairs p, p + h and p + 2h, p + 3h,
// same factors) and then in stage k + 1 (pairs p, p + 2h and p + h, p + 3h).
// Blocks (1 or 2, h >= 4 * Blocks) of four points side by side: several give
// the processor independent chains of conversions and products, so that
// their latencies overlap.
template <int Blocks>
__attribute__((target("avx2,fma"))) void PairPass(single* xr, single* xi, int n, int k, const double* factorRe,
                                                  const double* factorIm)
{
    const int h = 1 << k;
    const double* ukr = factorRe + h - 1;
    const double* uki = factorIm + h - 1;
    const double* unr = factorRe + 2 * h - 1;
    const double* uni = factorIm + 2 * h - 1;
    TRoundingWatch w[Blocks];
    for (int b = 0; b < Blocks; ++b) {
        w[b] = StartWatch(ButterflySlack);
    }
    for (int a0 = 0; a0 < n; a0 += 4 * h) {
        for (int j0 = 0; j0 < h; j0 += 4 * Blocks) {
            __m128 r[Blocks][4];
            __m128 i[Blocks][4];
            for (int b = 0; b < Blocks; ++b) {
                const int p = a0 + j0 + 4 * b;
                for (int q = 0; q < 4; ++q) {
                    r[b][q] = _mm_loadu_ps(xr + p + q * h);
                    i[b][q] = _mm_loadu_ps(xi + p + q * h);
                }
                ClearWatch(w[b]);
            }
            for (int b = 0; b < Blocks; ++b) {
                const int j = j0 + 4 * b;
                const __m256d ur = _mm256_loadu_pd(ukr + j);
                const __m256d ui = _mm256_loadu_pd(uki + j);
                WatchedButterfly4(r[b][0], i[b][0], r[b][1], i[b][1], ur, ui, w[b]);
                WatchedButterfly4(r[b][2], i[b][2], r[b][3], i[b][3], ur, ui, w[b]);
            }
            for (int b = 0; b < Blocks; ++b) {
                const int j = j0 + 4 * b;
                WatchedButterfly4(r[b][0], i[b][0], r[b][2], i[b][2], _mm256_loadu_pd(unr + j),
                                  _mm256_loadu_pd(uni + j), w[b]);
                WatchedButterfly4(r[b][1], i[b][1], r[b][3], i[b][3], _mm256_loadu_pd(unr + j + h),
                                  _mm256_loadu_pd(uni + j + h), w[b]);
            }
            for (int b = 0; b < Blocks; ++b) {
                const int p = a0 + j0 + 4 * b;
                if (WatchSawTrouble(w[b], ButterflySlack)) {
                    CarefulPair(xr, xi, p, 4, h, ukr, uki, unr, uni);
                    continue;
                }
                for (int q = 0; q < 4; ++q) {
                    _mm_storeu_ps(xr + p + q * h, r[b][q]);
                    _mm_storeu_ps(xi + p + q * h, i[b][q]);
                }
            }
        }
    }
}

// PairPass with eight butterflies per vector, on AVX-512 (h = 2^k >= 8).
__attribute__((target("avx512f,avx512vl"))) inline void WatchedButterfly8(__m256& ar, __m256& ai, __m256& br,
                                                                          __m256& bi, __m512d ur, __m512d ui,
                                                                          __m512i add, __m512i mask, __m512i& low)
{
    // The zero-masked forms with all lanes set are the plain operations; they
    // spare GCC 12's false warnings about the plain forms' undefined sources.
    const __m512d dbr = _mm512_maskz_cvtps_pd(0xFF, br);
    const __m512d dbi = _mm512_maskz_cvtps_pd(0xFF, bi);
    const __m512d dr = _mm512_fmsub_pd(ur, dbr, _mm512_mul_pd(ui, dbi));
    const __m512d di = _mm512_fmadd_pd(ur, dbi, _mm512_mul_pd(ui, dbr));
    const __m512i keyR = _mm512_and_si512(_mm512_add_epi32(_mm512_castpd_si512(dr), add), mask);
    const __m512i keyI = _mm512_and_si512(_mm512_add_epi32(_mm512_castpd_si512(di), add), mask);
    low = _mm512_maskz_min_epu32(0xFFFF, low, _mm512_maskz_min_epu32(0xFFFF, keyR, keyI));
    const __m256 tr = _mm512_maskz_cvtpd_ps(0xFF, dr);
    const __m256 ti = _mm512_maskz_cvtpd_ps(0xFF, di);
    br = _mm256_sub_ps(ar, tr);
    bi = _mm256_sub_ps(ai, ti);
    ar = _mm256_add_ps(ar, tr);
    ai = _mm256_add_ps(ai, ti);
}

// Blocks (2 or 4, h >= 8 * Blocks) of eight points side by side, as in
// PairPass.
template <int Blocks>
__attribute__((target("avx512f,avx512vl"))) void PairPass512(single* xr, single* xi, int n, int k,
                                                             const double* factorRe, const double* factorIm)
{
    // The keys and limits of TRoundingWatch, on sixteen 32-bit halves.
    const __m512i add = _mm512_set1_epi64((std::int64_t{0x7FFFFFFF} << 32) | (0x10000000 + ButterflySlack));
    const __m512i mask = _mm512_set1_epi64((std::int64_t{0x7FFFFFFF} << 32) | 0x1FFFFFFF);
    const __m512i limit = _mm512_set1_epi64((std::int64_t{(898 << 20) - 2} << 32) | (2 * ButterflySlack));
    const int h = 1 << k;
    const double* ukr = factorRe + h - 1;
    const double* uki = factorIm + h - 1;
    const double* unr = factorRe + 2 * h - 1;
    const double* uni = factorIm + 2 * h - 1;
    for (int a0 = 0; a0 < n; a0 += 4 * h) {
        for (int j0 = 0; j0 < h; j0 += 8 * Blocks) {
            __m256 r[Blocks][4];
            __m256 i[Blocks][4];
            __m512i low[Blocks];
            for (int b = 0; b < Blocks; ++b) {
                const int p = a0 + j0 + 8 * b;
                for (int q = 0; q < 4; ++q) {
                    r[b][q] = _mm256_loadu_ps(xr + p + q * h);
                    i[b][q] = _mm256_loadu_ps(xi + p + q * h);
                }
                low[b] = _mm512_set1_epi32(-1);
            }
            for (int b = 0; b < Blocks; ++b) {
                const int j = j0 + 8 * b;
                const __m512d ur = _mm512_loadu_pd(ukr + j);
                const __m512d ui = _mm512_loadu_pd(uki + j);
                WatchedButterfly8(r[b][0], i[b][0], r[b][1], i[b][1], ur, ui, add, mask, low[b]);
                WatchedButterfly8(r[b][2], i[b][2], r[b][3], i[b][3], ur, ui, add, mask, low[b]);
            }
            for (int b = 0; b < Blocks; ++b) {
                const int j = j0 + 8 * b;
                WatchedButterfly8(r[b][0], i[b][0], r[b][2], i[b][2], _mm512_loadu_pd(unr + j),
                                  _mm512_loadu_pd(uni + j), add, mask, low[b]);
                WatchedButterfly8(r[b][1], i[b][1], r[b][3], i[b][3], _mm512_loadu_pd(unr + j + h),
                                  _mm512_loadu_pd(uni + j + h), add, mask, low[b]);
            }
            for (int b = 0; b < Blocks; ++b) {
                const int p = a0 + j0 + 8 * b;
                if (_mm512_cmple_epu32_mask(low[b], limit) != 0) {
                    CarefulPair(xr, xi, p, 8, h, ukr, uki, unr, uni);
                    continue;
                }
                for (int q = 0; q < 4; ++q) {
                    _mm256_storeu_ps(xr + p + q * h, r[b][q]);
                    _mm256_storeu_ps(xi + p + q * h, i[b][q]);
                }
            }
        }
    }
}

// FirstPass8 with eight groups per vector, on AVX-512 (n >= 64).
template <bool Weighted>
__attribute__((target("avx512f,avx512vl"))) inline __m256 LoadInput8(single* inRe, const single* window, int at)
{
    __m256 x = _mm256_loadu_ps(inRe + at);
    if (Weighted) {
        x = _mm256_mul_ps(x, _mm256_loadu_ps(window + at));
        _mm256_storeu_ps(inRe + at, x);
    }
    return x;
}

__attribute__((target("avx512f,avx512vl"))) inline void UnitButterfly8(__m256& ar, __m256& ai, __m256& br, __m256& bi)
{
    const __m256 zero = _mm256_setzero_ps();
    const __m256 tr = _mm256_sub_ps(br, _mm256_mul_ps(zero, bi));
    const __m256 ti = _mm256_add_ps(bi, _mm256_mul_ps(zero, br));
    br = _mm256_sub_ps(ar, tr);
    bi = _mm256_sub_ps(ai, ti);
    ar = _mm256_add_ps(ar, tr);
    ai = _mm256_add_ps(ai, ti);
}

// Rows to columns: afterwards x[l] holds element l of every former x[k].
__attribute__((target("avx512f,avx512vl"))) inline void Transpose8(__m256 (&x)[8])
{
    __m256 t[8];
    for (int k = 0; k < 8; k += 2) {
        t[k] = _mm256_unpacklo_ps(x[k], x[k + 1]);
        t[k + 1] = _mm256_unpackhi_ps(x[k], x[k + 1]);
    }
    __m256 u[8];
    for (int k = 0; k < 8; k += 4) {
        u[k] = _mm256_shuffle_ps(t[k], t[k + 2], 0x44);
        u[k + 1] = _mm256_shuffle_ps(t[k], t[k + 2], 0xEE);
        u[k + 2] = _mm256_shuffle_ps(t[k + 1], t[k + 3], 0x44);
        u[k + 3] = _mm256_shuffle_ps(t[k + 1], t[k + 3], 0xEE);
    }
    for (int k = 0; k < 4; ++k) {
        x[k] = _mm256_permute2f128_ps(u[k], u[k + 4], 0x20);
        x[k + 4] = _mm256_permute2f128_ps(u[k], u[k + 4], 0x31);
    }
}

template <bool Weighted>
__attribute__((target("avx512f,avx512vl"))) void
FirstPass8x8(single* inRe, const single* inIm, const single* window, single* xr, single* xi, int n,
             const std::int32_t* bitReverse, const double* factorRe, const double* factorIm)
{
    const __m512i add = _mm512_set1_epi64((std::int64_t{0x7FFFFFFF} << 32) | (0x10000000 + ButterflySlack));
    const __m512i mask = _mm512_set1_epi64((std::int64_t{0x7FFFFFFF} << 32) | 0x1FFFFFFF);
    const __m512i limit = _mm512_set1_epi64((std::int64_t{(898 << 20) - 2} << 32) | (2 * ButterflySlack));
    const int o = n / 8;
    // Input offsets of points 0..7 of a group, in units of n/8: rev3(r).
    constexpr int Offset[8] = {0, 4, 2, 6, 1, 5, 3, 7};
    for (int b = 0; b < o; b += 8) {
        __m256 r[8];
        __m256 i[8];
        for (int k = 0; k < 8; ++k) {
            r[k] = LoadInput8<Weighted>(inRe, window, b + Offset[k] * o);
            i[k] = _mm256_loadu_ps(inIm + b + Offset[k] * o);
        }
        for (int k = 0; k < 8; k += 2) {
            UnitButterfly8(r[k], i[k], r[k + 1], i[k + 1]);
        }
        __m512i low = _mm512_set1_epi32(-1);
        const __m512d u1r = _mm512_set1_pd(factorRe[2]);
        const __m512d u1i = _mm512_set1_pd(factorIm[2]);
        UnitButterfly8(r[0], i[0], r[2], i[2]);
        WatchedButterfly8(r[1], i[1], r[3], i[3], u1r, u1i, add, mask, low);
        UnitButterfly8(r[4], i[4], r[6], i[6]);
        WatchedButterfly8(r[5], i[5], r[7], i[7], u1r, u1i, add, mask, low);
        UnitButterfly8(r[0], i[0], r[4], i[4]);
        for (int k = 1; k < 4; ++k) {
            WatchedButterfly8(r[k], i[k], r[k + 4], i[k + 4], _mm512_set1_pd(factorRe[3 + k]),
                              _mm512_set1_pd(factorIm[3 + k]), add, mask, low);
        }
        const std::int32_t* g = bitReverse + 8 * b;
        if (_mm512_cmple_epu32_mask(low, limit) != 0) {
            for (int l = 0; l < 8; ++l) {
                CarefulGroup(inRe, inIm, xr, xi, 8 * g[8 * l], 8, bitReverse, factorRe, factorIm);
            }
            continue;
        }
        Transpose8(r);
        Transpose8(i);
        for (int l = 0; l < 8; ++l) {
            _mm256_storeu_ps(xr + 8 * g[8 * l], r[l]);
            _mm256_storeu_ps(xi + 8 * g[8 * l], i[l]);
        }
    }
}

bool HasAvx512()
{
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
    return has;
}

// The transform of 2^power >= 16 points (32 when power is odd) by the passes above.
template <bool Weighted>
__attribute__((target("avx2,fma"))) void
PassTransform(single* inRe, const single* inIm, const single* window, single* xr, single* xi, int power,
              const std::int32_t* bitReverse, const double* factorRe, const double* factorIm)
{
    const int n = 1 << power;
    // Two or three stages in the first pass, so that pairs of stages remain.
    int k = 2 + power % 2;
    if (k == 2) {
        FirstPass<Weighted>(inRe, inIm, window, xr, xi, n, bitReverse, factorRe, factorIm);
    } else if (n >= 64 && HasAvx512()) {
        FirstPass8x8<Weighted>(inRe, inIm, window, xr, xi, n, bitReverse, factorRe, factorIm);
    } else {
        FirstPass8<Weighted>(inRe, inIm, window, xr, xi, n, bitReverse, factorRe, factorIm);
    }
    // Stages 3 and 4 (odd powers) take the AVX2 pass on every processor, so
    // that the tests run every kind of pass on machines with AVX-512 too.
    for (; k < power; k += 2) {
        if (k >= 5 && HasAvx512()) {
            PairPass512<4>(xr, xi, n, k, factorRe, factorIm);
        } else if (k == 4 && HasAvx512()) {
            PairPass512<2>(xr, xi, n, k, factorRe, factorIm);
        } else if (k >= 3) {
            PairPass<2>(xr, xi, n, k, factorRe, factorIm);
        } else {
            PairPass<1>(xr, xi, n, k, factorRe, factorIm);
        }
    }
}

// Magnitudes eight at a time, each block stored only if the watch of its
// eight doubles sees nothing near a tie (else it is redone one by one).
__attribute__((target("avx2,fma"))) void MagnitudesAvx2(single* xr, const single* xi, int count, single scale)
{
    const __m256d s = _mm256_set1_pd(scale);
    const TRoundingWatch start = StartWatch(MagnitudeSlack);
    int m = 0;
    for (; m + 8 <= count; m += 8) {
        const __m256d re0 = _mm256_cvtps_pd(_mm_loadu_ps(xr + m));
        const __m256d im0 = _mm256_cvtps_pd(_mm_loadu_ps(xi + m));
        const __m256d re1 = _mm256_cvtps_pd(_mm_loadu_ps(xr + m + 4));
        const __m256d im1 = _mm256_cvtps_pd(_mm_loadu_ps(xi + m + 4));
        // Both squares are exact: the fused sum rounds once, as the plain one.
        const __m256d v0 = _mm256_mul_pd(_mm256_sqrt_pd(_mm256_fmadd_pd(re0, re0, _mm256_mul_pd(im0, im0))), s);
        const __m256d v1 = _mm256_mul_pd(_mm256_sqrt_pd(_mm256_fmadd_pd(re1, re1, _mm256_mul_pd(im1, im1))), s);
        TRoundingWatch w = start;
        Watch(w, v0);
        Watch(w, v1);
        if (WatchSawTrouble(w, MagnitudeSlack)) {
            MagnitudesScalar(xr + m, xi + m, 8, scale);
        } else {
            _mm_storeu_ps(xr + m, _mm256_cvtpd_ps(v0));
            _mm_storeu_ps(xr + m + 4, _mm256_cvtpd_ps(v1));
        }
    }
    MagnitudesScalar(xr + m, xi + m, count - m, scale);
}

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

bool HasAvx2Fma()
{
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
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

void RunTransform(single* inRe, const single* inIm, single* xr, single* xi, int power, const std::int32_t* bitReverse,
                  const double* factorRe, const double* factorIm, const single* window)
{
    if (power >= 4 + power % 2 && HasAvx2Fma()) {
        if (window != nullptr) {
            PassTransform<true>(inRe, inIm, window, xr, xi, power, bitReverse, factorRe, factorIm);
        } else {
            PassTransform<false>(inRe, inIm, window, xr, xi, power, bitReverse, factorRe, factorIm);
        }
        return;
    }
    const int n = 1 << power;
    if (window != nullptr) {
        for (int i = 0; i < n; ++i) {
            inRe[i] = inRe[i] * window[i];
        }
    }
    for (int i = 0; i < n; ++i) {
        xr[i] = inRe[bitReverse[i]];
        xi[i] = inIm[bitReverse[i]];
    }
    RunStages(xr, xi, power, factorRe, factorIm);
}

void RunMagnitudes(single* xr, const single* xi, int count, single scale)
{
    if (HasAvx2Fma()) {
        MagnitudesAvx2(xr, xi, count, scale);
    } else {
        MagnitudesScalar(xr, xi, count, scale);
    }
}

} // namespace dspFFTStages
