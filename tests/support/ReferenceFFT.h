#pragma once

// The FFT component's transform and magnitude spectrum written out plainly
// from their definitions, as the one reference that the component's fast
// paths and the whole analysis are checked against, bit for bit.
//
// Transform of N = 2^p points (N a power of two, at least 4), exponent sign
// `direction` (+1 or -1), no normalising factor:
//   X[m] = sum_n (re[n] + i*im[n]) * exp(direction*2*pi*i*n*m/N)
// by iterative radix-2 decimation in time: the inputs in bit-reversed order
// (index bits mirrored), then stages k = 0..p-1 of butterflies a, b = a + 2^k,
// X[a] = X[a] + u*X[b], X[b] = X[a] - u*X[b]. The factor u of a stage starts
// at 1 and is multiplied, after each group of butterflies, by the step
// w = (cos(pi/2^k), direction*sin(pi/2^k)) rounded to float. Every complex
// product part and every sum is formed in long double from float operands
// and rounded to float once.
//
// Magnitude: line m < N/2 is sqrt(Re^2 + Im^2) in long double times the
// scale 1/(N/2) rounded to float, the product rounded to float.

#include <vector>

namespace testsupport {

// A frame of N complex values as two float arrays.
struct TReferenceFrame {
    std::vector<float> Re;
    std::vector<float> Im;
};

// The transform of (re, im), both of N values; see above.
TReferenceFrame ReferenceTransform(const std::vector<float>& re, const std::vector<float>& im, int direction = 1);

// The N/2 magnitude lines of a transformed frame; see above.
std::vector<float> ReferenceMagnitude(const TReferenceFrame& x);

} // namespace testsupport
