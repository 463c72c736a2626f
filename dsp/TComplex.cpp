#include "dsp/TComplex.h"

#include <cmath>

#include "dsp/dspExactMath.h"

TComplex CxMake(extended re, extended im) { return {re, im}; }

TComplex CxAdd(TComplex a, TComplex b) { return {a.Re + b.Re, a.Im + b.Im}; }

TComplex CxSub(TComplex a, TComplex b) { return {a.Re - b.Re, a.Im - b.Im}; }

TComplex CxMul(TComplex a, TComplex b)
{
    const extended rr = a.Re * b.Re;
    const extended ii = a.Im * b.Im;
    const extended ri = a.Re * b.Im;
    const extended ir = a.Im * b.Re;
    return {rr - ii, ri + ir};
}

TComplex CxDiv(TComplex a, TComplex b)
{
    const extended d = b.Re * b.Re + b.Im * b.Im;
    const extended re = a.Re * b.Re + a.Im * b.Im;
    const extended im = a.Im * b.Re - a.Re * b.Im;
    return {re / d, im / d};
}

TComplex CxScale(TComplex a, extended x) { return {a.Re * x, a.Im * x}; }

TComplex CxNeg(TComplex a) { return {-a.Re, -a.Im}; }

TComplex CxConj(TComplex a) { return {a.Re, -a.Im}; }

TComplex CxSqr(TComplex a) { return CxMul(a, a); }

TComplex CxSqrt(TComplex a)
{
    const extended r = CxAbs(a);
    const extended re = SqrtNonNeg((r + a.Re) * 0.5L);
    extended im = SqrtNonNeg((r - a.Re) * 0.5L);
    if (a.Im < 0) {
        im = -im;
    }
    return {re, im};
}

extended CxAbs(TComplex a) { return dspExactMath::Hypot(a.Re, a.Im); }

TComplex CxCis(extended x) { return {dspExactMath::Cos(x), dspExactMath::Sin(x)}; }

extended SqrtNonNeg(extended x) { return x < 0 ? 0.0L : std::sqrt(x); }
