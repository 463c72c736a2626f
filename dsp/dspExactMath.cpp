#include "dsp/dspExactMath.h"

#include <atomic>
#include <cmath>
#include <limits>

namespace dspExactMath {
namespace {

// glibc 2.36's cosl and sinl, in increasing order of angle, of ExtendedPi/2^k
// (k = 0..14), (i + 1/2)*ExtendedPi/8 (i = 0..15; i = 0 is also pi/16) and
// ExtendedPi*(1000 + 10000)/51200, each angle formed as the code forms it.
constexpr TCosSinRow CosSinTable[] = {
    {0xc.90fdaa22168c235p-16L, 0xf.fffffb10b0cdd16p-4L, 0xc.90fda8d75abdcb2p-16L},
    {0xc.90fdaa22168c235p-15L, 0xf.ffffec42c33a50cp-4L, 0xc.90fda4f727533d1p-15L},
    {0xc.90fdaa22168c235p-14L, 0xf.ffffb10b0d19f76p-4L, 0xc.90fd957659b030fp-14L},
    {0xc.90fdaa22168c235p-13L, 0xf.fffec42c3773236p-4L, 0xc.90fd57732396c24p-13L},
    {0xc.90fdaa22168c235p-12L, 0xf.fffb10b10e80e95p-4L, 0xc.90fc5f66525d258p-12L},
    {0xc.90fdaa22168c235p-11L, 0xf.ffec42c7454926bp-4L, 0xc.90f87f3380388d6p-11L},
    {0xc.90fdaa22168c235p-10L, 0xf.ffb10b4dc96dabcp-4L, 0xc.90e8fe6f63c2331p-10L},
    {0xc.90fdaa22168c235p-9L, 0xf.fec4304266865d9p-4L, 0xc.90aafbd1b33efcap-9L},
    {0xc.90fdaa22168c235p-8L, 0xf.fb10f1bcb6bef1dp-4L, 0xc.8fb2f886ec09f38p-8L},
    {0xc.90fdaa22168c235p-7L, 0xf.ec46d1e89292cfp-4L, 0xc.8bd35e14da15f0fp-7L},
    {0xc.90fdaa22168c235p-6L, 0xf.b14be7fbae58156p-4L, 0xc.7c5c1e34d3055b3p-6L},
    {0xc.90fdaa22168c235p-5L, 0xe.c835e79946a3145p-4L, 0xc.3ef1535754b168dp-5L},
    {0x9.6cbe3f9990e91a8p-4L, 0xd.4db3148750d181ap-4L, 0x8.e39d9cd73464365p-4L},
    {0xa.cc99fe354b606e6p-4L, 0xc.7de651f7ca06749p-4L, 0x9.ff6ca9a2ab6a26ep-4L},
    {0xc.90fdaa22168c235p-4L, 0xb.504f333f9de6484p-4L, 0xb.504f333f9de6485p-4L},
    {0xf.b53d14aa9c2f2c2p-4L, 0x8.e39d9cd73464365p-4L, 0xd.4db3148750d181ap-4L},
    {0xa.feddf4ddd3ba9eep-3L, 0xc.7c5c1e34d3055b4p-6L, 0xf.b14be7fbae58156p-4L},
    {0xc.90fdaa22168c235p-3L, -0xe.ce675d1fc8f8cbbp-69L, 0x8p-3L},
    {0xe.231d5f66595da7cp-3L, -0xc.7c5c1e34d3055b7p-6L, 0xf.b14be7fbae58156p-4L},
    {0x8.a3ae64f76f80584p-2L, -0x8.e39d9cd73464364p-4L, 0xd.4db3148750d181bp-4L},
    {0xa.35ce1a3bb251dcbp-2L, -0xd.4db3148750d181ap-4L, 0x8.e39d9cd73464364p-4L},
    {0xb.c7edcf7ff523612p-2L, -0xf.b14be7fbae58157p-4L, 0xc.7c5c1e34d3055aap-6L},
    {0xc.90fdaa22168c235p-2L, -0x8p-3L, -0xe.ce675d1fc8f8cbbp-68L},
    {0xd.5a0d84c437f4e58p-2L, -0xf.b14be7fbae58156p-4L, -0xc.7c5c1e34d3055b1p-6L},
    {0xe.ec2d3a087ac669fp-2L, -0xd.4db3148750d1819p-4L, -0x8.e39d9cd73464366p-4L},
    {0x8.3f2677a65ecbf73p-1L, -0x8.e39d9cd73464362p-4L, -0xd.4db3148750d181cp-4L},
    {0x9.083652488034b96p-1L, -0xc.7c5c1e34d3055bp-6L, -0xf.b14be7fbae58156p-4L},
    {0x9.d1462ceaa19d7b9p-1L, 0xc.7c5c1e34d3055abp-6L, -0xf.b14be7fbae58156p-4L},
    {0xa.9a56078cc3063ddp-1L, 0x8.e39d9cd73464368p-4L, -0xd.4db3148750d1818p-4L},
    {0xb.6365e22ee46fp-1L, 0xd.4db3148750d181bp-4L, -0x8.e39d9cd73464364p-4L},
    {0xc.2c75bcd105d7c23p-1L, 0xf.b14be7fbae58156p-4L, -0xc.7c5c1e34d3055b6p-6L},
};

// glibc 2.36's tanl of ExtendedPi*1000/51200 and ExtendedPi*10000/51200.
constexpr TTangentRow TangentTable[] = {
    {0xf.b53d14aa9c2f2c2p-8L, 0xf.ba4af51f9bc15fp-8L},
    {0x9.d1462ceaa19d7b9p-4L, 0xb.44ba8a3a8edb143p-4L},
};

std::atomic<std::uint64_t> fallbacks{0};

const TCosSinRow* FindCosSin(extended x)
{
    for (const TCosSinRow& row : CosSinTable) {
        if (row.Angle == x) {
            return &row;
        }
    }
    fallbacks.fetch_add(1, std::memory_order_relaxed);
    return nullptr;
}

// Borges's correction of sqrt(ax^2 + ay^2): the rounding error of the sum of
// squares is recovered exactly from the operands and subtracted, to first order.
// Requires ax >= ay >= 0 with no over- or underflow in the squares.
extended CorrectedHypot(extended ax, extended ay)
{
    extended h = std::sqrt(ax * ax + ay * ay);
    extended t1;
    extended t2;
    if (h <= 2.0L * ay) {
        const extended delta = h - ay;
        t1 = ax * (2.0L * delta - ax);
        t2 = (delta - 2.0L * (ax - ay)) * delta;
    } else {
        const extended delta = h - ax;
        t1 = 2.0L * delta * (ax - 2.0L * ay);
        t2 = (4.0L * delta - ay) * ay + delta * delta;
    }
    h -= (t1 + t2) / (2.0L * h);
    return h;
}

// Scaling of operands whose squares would overflow or underflow, and the
// limits beyond which the smaller operand no longer counts.
constexpr extended Scale = 0x8p-8257L;
constexpr extended Large = 0xb.504f333f9de6484p+8188L;
constexpr extended Tiny = 0x8p-8194L;
constexpr extended Negligible = 0x8p-68L;

// Log10's constants: sqrt(1/2) rounded down, log10(e), and log10(2) as a
// 48-bit part (its product with any exponent is exact) plus the rest.
constexpr extended HalfSqrt2 = 0xb.504f333f9de6484p-4L;
constexpr extended Log10E = 0xde5bd8a937287195p-65L;
constexpr extended Log10Of2High = 0x9a209a84fbd0p-49L;
constexpr extended Log10Of2Low = -0x8677076a653f4837p-117L;
constexpr int AtanhTerms = 13;

} // namespace

extended Cos(extended x)
{
    const TCosSinRow* row = FindCosSin(x);
    return row != nullptr ? row->Cos : std::cos(x); // off the exact path
}

extended Sin(extended x)
{
    const TCosSinRow* row = FindCosSin(x);
    return row != nullptr ? row->Sin : std::sin(x); // off the exact path
}

extended Tan(extended x)
{
    for (const TTangentRow& row : TangentTable) {
        if (row.Angle == x) {
            return row.Tan;
        }
    }
    fallbacks.fetch_add(1, std::memory_order_relaxed);
    return std::tan(x); // off the exact path
}

extended Hypot(extended x, extended y)
{
    if (!std::isfinite(x) || !std::isfinite(y)) {
        if (std::isinf(x) || std::isinf(y)) {
            return std::numeric_limits<extended>::infinity();
        }
        return x + y;
    }
    x = std::fabs(x);
    y = std::fabs(y);
    const extended ax = x < y ? y : x;
    const extended ay = x < y ? x : y;
    if (ax > Large) {
        if (ay <= ax * Negligible) {
            return ax + ay;
        }
        return CorrectedHypot(ax * Scale, ay * Scale) / Scale;
    }
    if (ay < Tiny) {
        if (ax >= ay / Negligible) {
            return ax + ay;
        }
        return CorrectedHypot(ax / Scale, ay / Scale) * Scale;
    }
    if (ay <= ax * Negligible) {
        return ax + ay;
    }
    return CorrectedHypot(ax, ay);
}

extended Log10(extended x)
{
    if (!(x > 0) || std::isinf(x)) {
        if (x == 0) {
            return -std::numeric_limits<extended>::infinity();
        }
        return x > 0 ? x : std::numeric_limits<extended>::quiet_NaN();
    }
    // x = m 2^e with m in [sqrt(1/2), sqrt(2)): log10 x = e log10(2) + log10(m).
    int e = 0;
    extended m = std::frexp(x, &e); // exact: m in [1/2, 1)
    if (m < HalfSqrt2) {
        m *= 2;
        --e;
    }
    // ln m = 2 atanh(s), s = f / (2 + f), f = m - 1 (exact), |s| <= 0.1716:
    // ln m = f - (f^2/2 - s (f^2/2 + R)) with R = 2 (z/3 + z^2/5 + ...),
    // z = s^2, so that the leading f is exact and every rounding falls on
    // the smaller terms (fdlibm's arrangement). The terms of R after
    // z^13/27 lie below 2^-66 of ln m.
    const extended f = m - 1;
    const extended s = f / (2 + f);
    const extended z = s * s;
    extended series = 2.0L / (2 * AtanhTerms + 1);
    for (int k = AtanhTerms - 1; k >= 1; --k) {
        series = series * z + 2.0L / (2 * k + 1);
    }
    const extended r = series * z;
    const extended halfSquare = f * f / 2;
    const extended log10m = (f - (halfSquare - s * (halfSquare + r))) * Log10E;
    // e log10(2) in two parts, the first exact for any exponent.
    const extended exponent = static_cast<extended>(e);
    return exponent * Log10Of2High + (exponent * Log10Of2Low + log10m);
}

std::uint64_t RuntimeFallbacks() noexcept { return fallbacks.load(std::memory_order_relaxed); }

std::span<const TCosSinRow> CosSinRows() noexcept { return CosSinTable; }

std::span<const TTangentRow> TangentRows() noexcept { return TangentTable; }

} // namespace dspExactMath
