#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dsp/TComplex.h"

namespace {

void ExpectComplex(TComplex actual, extended re, extended im)
{
    EXPECT_EQ(actual.Re, re);
    EXPECT_EQ(actual.Im, im);
}

TEST(TComplex, SquareRootOfNegativeRealIsPositiveImaginary)
{
    ExpectComplex(CxSqrt(CxMake(-4, 0)), 0, 2);
    // Only a strictly negative imaginary part flips the sign.
    const TComplex r = CxSqrt(CxMake(-4, -0.0L));
    ExpectComplex(r, 0, 2);
    EXPECT_FALSE(std::signbit(r.Im));
    ExpectComplex(CxSqrt(CxMake(3, -4)), 2, -1);
    ExpectComplex(CxSqrt(CxMake(3, 4)), 2, 1);
}

TEST(TComplex, SquareRootSquaresBack)
{
    for (const TComplex a : {CxMake(1e-6L, 7), CxMake(-2.5L, 1e-3L), CxMake(-1e3L, -3), CxMake(0.3L, -0.4L)}) {
        const TComplex r = CxSqrt(a);
        EXPECT_GE(r.Re, 0);
        const TComplex back = CxSqr(r);
        const extended scale = CxAbs(a);
        EXPECT_NEAR(back.Re, a.Re, 1e-15L * scale);
        EXPECT_NEAR(back.Im, a.Im, 1e-15L * scale);
    }
}

TEST(TComplex, DivisionAndMultiplication)
{
    ExpectComplex(CxDiv(CxMake(1, 0), CxMake(0, 1)), 0, -1);
    ExpectComplex(CxDiv(CxMake(7, 1), CxMake(1, 2)), 1.8L, -2.6L);
    ExpectComplex(CxMul(CxMake(1, 2), CxMake(3, -4)), 11, 2);
    // The result may be written into an argument: a*a, not a mix of old and new parts.
    TComplex a = CxMake(1, 2);
    a = CxMul(a, a);
    ExpectComplex(a, -3, 4);
    a = CxDiv(a, a);
    ExpectComplex(a, 1, 0);
}

TEST(TComplex, SmallOperations)
{
    ExpectComplex(CxAdd(CxMake(1, 2), CxMake(3, 4)), 4, 6);
    ExpectComplex(CxSub(CxMake(1, 2), CxMake(3, 5)), -2, -3);
    ExpectComplex(CxScale(CxMake(1, -2), 0.5L), 0.5L, -1);
    ExpectComplex(CxNeg(CxMake(1, -2)), -1, 2);
    ExpectComplex(CxConj(CxMake(1, -2)), 1, 2);
    const TComplex c = CxCis(ExtendedPi / 2);
    EXPECT_NEAR(c.Re, 0, 1e-19L);
    EXPECT_EQ(c.Im, 1);
}

TEST(TComplex, AbsoluteValueDoesNotOverflow)
{
    EXPECT_EQ(CxAbs(CxMake(3, -4)), 5);
    const extended big = std::numeric_limits<extended>::max() / 2;
    EXPECT_TRUE(std::isfinite(CxAbs(CxMake(big, big))));
    EXPECT_EQ(CxAbs(CxMake(3e-4000L, 4e-4000L)) / 1e-4000L, 5);
}

TEST(TComplex, SqrtNonNegClampsRoundingResidue)
{
    EXPECT_EQ(SqrtNonNeg(-1e-30L), 0);
    EXPECT_EQ(SqrtNonNeg(0), 0);
    EXPECT_EQ(SqrtNonNeg(2.25L), 1.5L);
}

} // namespace
