#pragma once

// Complex numbers in extended precision for the IIR filter design.
//
// Every operation evaluates its formula in the order given in its comment,
// each intermediate in extended precision, products before the sum or
// difference that combines them. Arguments are taken by value, so the
// variable receiving the result may also be an argument.

#include "dsp/dspTypes.h"

struct TComplex {
    extended Re;
    extended Im;
};

// (re, im)
TComplex CxMake(extended re, extended im);
// (a.Re + b.Re, a.Im + b.Im)
TComplex CxAdd(TComplex a, TComplex b);
// (a.Re - b.Re, a.Im - b.Im)
TComplex CxSub(TComplex a, TComplex b);
// (a.Re*b.Re - a.Im*b.Im, a.Re*b.Im + a.Im*b.Re)
TComplex CxMul(TComplex a, TComplex b);
// d = b.Re*b.Re + b.Im*b.Im; ((a.Re*b.Re + a.Im*b.Im)/d, (a.Im*b.Re - a.Re*b.Im)/d).
// No scaling against overflow; (0, 0) divides by zero.
TComplex CxDiv(TComplex a, TComplex b);
// (a.Re*x, a.Im*x)
TComplex CxScale(TComplex a, extended x);
// (-a.Re, -a.Im)
TComplex CxNeg(TComplex a);
// (a.Re, -a.Im)
TComplex CxConj(TComplex a);
// CxMul(a, a)
TComplex CxSqr(TComplex a);
// Principal square root: r = |a|, (SqrtNonNeg((r + a.Re)*0.5), +-SqrtNonNeg((r - a.Re)*0.5)),
// the imaginary part negative only when a.Im < 0. The real part is never negative.
TComplex CxSqrt(TComplex a);
// |a| by the hypotenuse function (no intermediate overflow), dspExactMath::Hypot.
extended CxAbs(TComplex a);
// (cos x, sin x) by dspExactMath: exact for the angles of the fixed analysis.
TComplex CxCis(extended x);
// sqrt(max(0, x)): absorbs rounding that leaves a tiny negative argument.
extended SqrtNonNeg(extended x);
