#include "dsp/dspIIRDesign.h"

#include <cmath>
#include <cstdio>

namespace {

// Bessel prototype poles of the orders 1 to 8 (unit cut-off). Order k starts
// at entry k*k/4: for an odd order one real pole, then one entry per conjugate pair.
constexpr TComplex BesselPoles[] = {
    {-1.0L, 0.0L},
    {-1.10160133059L, 0.636009824757L},
    {-1.32267579991L, 0.0L},
    {-1.04740916101L, 0.999264436281L},
    {-1.37006783055L, 0.410249717494L},
    {-0.99520876435L, 1.25710573945L},
    {-1.50231627145L, 0.0L},
    {-1.38087732586L, 0.717909587627L},
    {-0.957676548563L, 1.47112432073L},
    {-1.57149040362L, 0.320896374221L},
    {-1.3818580976L, 0.971471890712L},
    {-0.930656522947L, 1.66186326894L},
    {-1.68436817927L, 0.0L},
    {-1.61203876622L, 0.589244506931L},
    {-1.3789032168L, 1.1915667778L},
    {-0.909867780623L, 1.83645135304L},
    {-1.7574084004L, 0.272867575103L},
    {-1.63693941813L, 0.822795625139L},
    {-1.37384121764L, 1.38835657588L},
    {-0.892869718847L, 1.99832584364L},
};

constexpr TComplex One{1.0L, 0.0L};

} // namespace

void ClearPoleZeroSet(TPoleZeroSet& pz)
{
    pz.Poles.fill(TComplex{0.0L, 0.0L});
    pz.Zeros.fill(TComplex{0.0L, 0.0L});
    pz.NumPoles = 0;
    pz.NumZeros = 0;
}

void AddPrototypePole(TPoleZeroSet& pz, TComplex pole)
{
    if (pole.Re < 0 && pz.NumPoles < PoleZeroCapacity) {
        pz.Poles[pz.NumPoles] = pole;
        ++pz.NumPoles;
    }
}

void AddButterworthPoles(TPoleZeroSet& pz, int order)
{
    const extended half = (order % 2 == 0) ? 0.5L : 0.0L;
    for (int i = 0; i < 2 * order; ++i) {
        const extended base = (order % 2 == 0) ? static_cast<extended>(i) + half : static_cast<extended>(i);
        const extended theta = base * ExtendedPi / static_cast<extended>(order);
        AddPrototypePole(pz, CxCis(theta));
    }
}

void AddBesselPoles(TPoleZeroSet& pz, int order)
{
    int p = order * order / 4;
    if (order % 2 != 0) {
        AddPrototypePole(pz, BesselPoles[p]);
        ++p;
    }
    for (int k = 0; k < order / 2; ++k) {
        AddPrototypePole(pz, BesselPoles[p]);
        AddPrototypePole(pz, CxConj(BesselPoles[p]));
        ++p;
    }
}

bool ApplyChebyshevRipple(TPoleZeroSet& pz, int order, extended rippleDb, std::string& errorText)
{
    // The runtime's pow, asinh, sinh and cosh: Chebyshev designs are off the
    // exact path (its band-pass is a Butterworth).
    const extended r = std::pow(10.0L, rippleDb / 10.0L);
    const extended root = std::sqrt(r - 1.0L);
    const extended eps = root > RealnessTolerance ? root : RealnessTolerance;
    const extended y = std::asinh(1.0L / eps) / static_cast<extended>(order);
    if (!(y > 0)) {
        char text[96];
        std::snprintf(text, sizeof text, "Chebyshev filter error y=%Lg; must be .gt. 0.0", y);
        errorText = text;
        return false;
    }
    const extended sh = std::sinh(y);
    const extended ch = std::cosh(y);
    for (int i = 0; i < pz.NumPoles; ++i) {
        pz.Poles[i] = CxMake(pz.Poles[i].Re * sh, pz.Poles[i].Im * ch);
    }
    return true;
}

void TransformResponse(TPoleZeroSet& pz, TdspIIRFilterResponse response, int order, extended w1, extended w2)
{
    const int n = pz.NumPoles;
    switch (response) {
    case ftLowpass:
        for (int i = 0; i < n; ++i) {
            pz.Poles[i] = CxScale(pz.Poles[i], w1);
        }
        pz.NumZeros = 0;
        return;
    case ftHighpass:
        for (int i = 0; i < n; ++i) {
            pz.Poles[i] = CxDiv(CxMake(w1, 0.0L), pz.Poles[i]);
            pz.Zeros[i] = CxMake(0.0L, 0.0L);
        }
        pz.NumZeros = n;
        return;
    case ftBandpass:
    case ftBandstop: break;
    }
    if (w1 > w2) {
        const extended w = w1;
        w1 = w2;
        w2 = w;
    }
    const extended w0 = std::sqrt(w1 * w2);
    const extended minWidth = static_cast<extended>(order) * 0.0001L;
    const extended width = w2 - w1;
    const extended bw = width > minWidth ? width : minWidth;
    for (int i = 0; i < n; ++i) {
        const TComplex h = CxScale(pz.Poles[i], bw * 0.5L);
        const TComplex t = CxSqrt(CxSub(One, CxSqr(CxDiv(CxMake(w0, 0.0L), h))));
        pz.Poles[i] = CxMul(h, CxAdd(One, t));
        pz.Poles[n + i] = CxMul(h, CxSub(One, t));
    }
    if (response == ftBandpass) {
        for (int i = 0; i < n; ++i) {
            pz.Zeros[i] = CxMake(0.0L, 0.0L);
        }
        pz.NumZeros = n;
    } else {
        for (int i = 0; i < n; ++i) {
            pz.Zeros[i] = CxMake(0.0L, w0);
            pz.Zeros[n + i] = CxMake(0.0L, -w0);
        }
        pz.NumZeros = 2 * n;
    }
    pz.NumPoles = 2 * n;
}

TComplex BilinearPoint(TComplex s)
{
    const TComplex two{2.0L, 0.0L};
    return CxDiv(CxAdd(two, s), CxSub(two, s));
}

void MapToDigital(const TPoleZeroSet& analog, TPoleZeroSet& digital)
{
    digital.NumPoles = analog.NumPoles;
    digital.NumZeros = analog.NumZeros;
    for (int i = 0; i < analog.NumPoles; ++i) {
        digital.Poles[i] = BilinearPoint(analog.Poles[i]);
    }
    for (int i = 0; i < analog.NumZeros; ++i) {
        digital.Zeros[i] = BilinearPoint(analog.Zeros[i]);
    }
    while (digital.NumZeros < digital.NumPoles) {
        digital.Zeros[digital.NumZeros] = CxMake(-1.0L, 0.0L);
        ++digital.NumZeros;
    }
}

void PolyFromRoots(const TComplex* roots, int count, TPolynomial& coef, std::string& errorText)
{
    coef.fill(TComplex{0.0L, 0.0L});
    coef[0] = One;
    for (int k = 0; k < count; ++k) {
        const TComplex q = CxNeg(roots[k]);
        for (int j = count; j >= 1; --j) {
            coef[j] = CxAdd(CxMul(q, coef[j]), coef[j - 1]);
        }
        coef[0] = CxMul(q, coef[0]);
    }
    std::string text;
    for (int i = 0; i <= count; ++i) {
        if (!(std::fabs(coef[i].Im) <= RealnessTolerance)) {
            char line[96];
            std::snprintf(line, sizeof line, "Coeff of z^%d is not real; poles/zeros are not complex conjugates\r\n",
                          i);
            text += line;
        }
    }
    if (!text.empty()) {
        errorText = text;
    }
}

TComplex PolyValue(const TPolynomial& coef, int degree, TComplex z)
{
    TComplex s{0.0L, 0.0L};
    for (int i = degree; i >= 0; --i) {
        s = CxAdd(CxMul(s, z), coef[i]);
    }
    return s;
}
