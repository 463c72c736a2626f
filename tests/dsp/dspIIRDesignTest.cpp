#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "dsp/dspIIRDesign.h"

namespace {

TEST(dspIIRDesign, PolynomialFromRoots)
{
    // (z - 1)(z + 1) = z^2 - 1; (z - j)(z + j) = z^2 + 1.
    const TComplex roots[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    TPolynomial coef;
    std::string error;
    PolyFromRoots(roots, 2, coef, error);
    EXPECT_EQ(coef[0].Re, -1);
    EXPECT_EQ(coef[1].Re, 0);
    EXPECT_EQ(coef[2].Re, 1);
    PolyFromRoots(roots + 2, 2, coef, error);
    EXPECT_EQ(coef[0].Re, 1);
    EXPECT_EQ(coef[1].Re, 0);
    EXPECT_EQ(coef[2].Re, 1);
    EXPECT_TRUE(error.empty());
    // Horner's rule: z^2 + 1 at z = 2j is -3.
    const TComplex v = PolyValue(coef, 2, CxMake(0, 2));
    EXPECT_EQ(v.Re, -3);
    EXPECT_EQ(v.Im, 0);
}

TEST(dspIIRDesign, UnpairedRootsAreReported)
{
    // (z - j)(z - 1) = z^2 - (1 + j)z + j: z^0 and z^1 are not real.
    const TComplex roots[] = {{0, 1}, {1, 0}};
    TPolynomial coef;
    std::string error = "earlier text";
    PolyFromRoots(roots, 2, coef, error);
    EXPECT_EQ(error, "Coeff of z^0 is not real; poles/zeros are not complex conjugates\r\n"
                     "Coeff of z^1 is not real; poles/zeros are not complex conjugates\r\n");
    // A NaN counts as not real; a clean polynomial leaves the text alone.
    const TComplex nan[] = {{0, std::nanl("")}};
    error.clear();
    PolyFromRoots(nan, 1, coef, error);
    EXPECT_EQ(error, "Coeff of z^0 is not real; poles/zeros are not complex conjugates\r\n"
                     "Coeff of z^1 is not real; poles/zeros are not complex conjugates\r\n");
    const TComplex real[] = {{0.5L, 0}};
    error = "kept";
    PolyFromRoots(real, 1, coef, error);
    EXPECT_EQ(error, "kept");
}

TEST(dspIIRDesign, BilinearMapsAxisToCircle)
{
    EXPECT_EQ(BilinearPoint(CxMake(0, 0)).Re, 1);
    const TComplex z = BilinearPoint(CxMake(0, 0.7L));
    EXPECT_NEAR(CxAbs(z), 1, 1e-18L);
    EXPECT_LT(CxAbs(BilinearPoint(CxMake(-0.3L, 5))), 1);
}

TEST(dspIIRDesign, ButterworthPolesLieOnTheLeftUnitCircle)
{
    for (int order = 1; order <= 8; ++order) {
        TPoleZeroSet pz;
        ClearPoleZeroSet(pz);
        AddButterworthPoles(pz, order);
        ASSERT_EQ(pz.NumPoles, order);
        for (int i = 0; i < order; ++i) {
            EXPECT_LT(pz.Poles[i].Re, 0);
            EXPECT_NEAR(CxAbs(pz.Poles[i]), 1, 1e-18L);
        }
        // Increasing angle: the imaginary parts fall from positive to negative.
        EXPECT_GE(pz.Poles[0].Im, pz.Poles[order - 1].Im);
    }
}

TEST(dspIIRDesign, EveryBesselOrderTakesOrderPoles)
{
    for (int order = 1; order <= 8; ++order) {
        TPoleZeroSet pz;
        ClearPoleZeroSet(pz);
        AddBesselPoles(pz, order);
        ASSERT_EQ(pz.NumPoles, order) << "order " << order;
        TComplex product{1, 0};
        for (int i = 0; i < order; ++i) {
            EXPECT_LT(pz.Poles[i].Re, 0);
            product = CxMul(product, CxNeg(pz.Poles[i]));
        }
        // Conjugate pairs: the product of (-p) is real.
        EXPECT_NEAR(product.Im, 0, 1e-15L);
    }
}

TEST(dspIIRDesign, ChebyshevRippleScalesPoles)
{
    TPoleZeroSet pz;
    ClearPoleZeroSet(pz);
    AddButterworthPoles(pz, 4);
    const TPoleZeroSet before = pz;
    std::string error;
    // Ripple 0: eps is floored at 1e-10, y = asinh(1e10)/4.
    ASSERT_TRUE(ApplyChebyshevRipple(pz, 4, 0, error));
    EXPECT_TRUE(error.empty());
    const extended y = std::asinh(1.0L / 1e-10L) / 4;
    EXPECT_NEAR(y * 4, 23.7189981105004L, 1e-12L);
    EXPECT_NEAR(pz.Poles[1].Re, before.Poles[1].Re * std::sinh(y), 1e-15L);
    EXPECT_NEAR(pz.Poles[1].Im, before.Poles[1].Im * std::cosh(y), 1e-15L);

    // A ripple so large that 1/eps is 0 gives y = 0: poles stay, text says so.
    TPoleZeroSet kept = before;
    EXPECT_FALSE(ApplyChebyshevRipple(kept, 4, 1e6L, error));
    EXPECT_EQ(error, "Chebyshev filter error y=0; must be .gt. 0.0");
    EXPECT_EQ(kept.Poles[2].Re, before.Poles[2].Re);
}

TEST(dspIIRDesign, BandpassSplitsEachPoleIntoAPairAroundTheCentre)
{
    TPoleZeroSet pz;
    ClearPoleZeroSet(pz);
    AddButterworthPoles(pz, 3);
    const extended w1 = 0.2L;
    const extended w2 = 1.4L;
    TransformResponse(pz, ftBandpass, 3, w2, w1); // edges given the wrong way round
    ASSERT_EQ(pz.NumPoles, 6);
    ASSERT_EQ(pz.NumZeros, 3);
    for (int i = 0; i < 3; ++i) {
        // h(1 + t) * h(1 - t) = h^2 (w0/h)^2 = w0^2 = w1*w2
        const TComplex product = CxMul(pz.Poles[i], pz.Poles[3 + i]);
        EXPECT_NEAR(product.Re, w1 * w2, 1e-17L);
        EXPECT_NEAR(product.Im, 0, 1e-17L);
        EXPECT_EQ(pz.Zeros[i].Re, 0);
    }
}

} // namespace
