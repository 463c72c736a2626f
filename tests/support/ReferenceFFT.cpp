#include "tests/support/ReferenceFFT.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace testsupport {

namespace {

int Log2(std::size_t n)
{
    int power = 0;
    while ((std::size_t{1} << power) < n) {
        ++power;
    }
    if ((std::size_t{1} << power) != n || power < 2) {
        throw std::invalid_argument("the reference transform needs a power of two of at least 4 points");
    }
    return power;
}

// u*v, real and imaginary part, each formed in long double and rounded once.
float ProductRe(float ur, float ui, float vr, float vi)
{
    return static_cast<float>(static_cast<long double>(ur) * vr - static_cast<long double>(ui) * vi);
}

float ProductIm(float ur, float ui, float vr, float vi)
{
    return static_cast<float>(static_cast<long double>(ur) * vi + static_cast<long double>(ui) * vr);
}

} // namespace

TReferenceFrame ReferenceTransform(const std::vector<float>& re, const std::vector<float>& im, int direction)
{
    const int power = Log2(re.size());
    const int n = 1 << power;
    if (im.size() != re.size()) {
        throw std::invalid_argument("the real and imaginary parts differ in length");
    }
    TReferenceFrame x{std::vector<float>(n), std::vector<float>(n)};
    for (int i = 0; i < n; ++i) {
        int mirrored = 0;
        for (int bit = 0; bit < power; ++bit) {
            mirrored |= ((i >> bit) & 1) << (power - 1 - bit);
        }
        x.Re[i] = re[mirrored];
        x.Im[i] = im[mirrored];
    }
    const long double pi = std::numbers::pi_v<long double>;
    for (int k = 0; k < power; ++k) {
        const int h = 1 << k;
        const long double angle = pi / static_cast<long double>(h);
        const float wr = static_cast<float>(std::cos(angle));
        const float wi = static_cast<float>(direction * static_cast<long double>(static_cast<float>(std::sin(angle))));
        float ur = 1;
        float ui = 0;
        for (int j = 0; j < h; ++j) {
            for (int a = j; a < n; a += 2 * h) {
                const int b = a + h;
                const float tr = ProductRe(ur, ui, x.Re[b], x.Im[b]);
                const float ti = ProductIm(ur, ui, x.Re[b], x.Im[b]);
                const long double ar = x.Re[a];
                const long double ai = x.Im[a];
                x.Re[b] = static_cast<float>(ar - tr);
                x.Im[b] = static_cast<float>(ai - ti);
                x.Re[a] = static_cast<float>(ar + tr);
                x.Im[a] = static_cast<float>(ai + ti);
            }
            const float nr = ProductRe(ur, ui, wr, wi);
            const float ni = ProductIm(ur, ui, wr, wi);
            ur = nr;
            ui = ni;
        }
    }
    return x;
}

std::vector<float> ReferenceMagnitude(const TReferenceFrame& x)
{
    const std::size_t half = x.Re.size() / 2;
    const float scale = static_cast<float>(1.0L / static_cast<long double>(half));
    std::vector<float> m(half);
    for (std::size_t i = 0; i < half; ++i) {
        const long double re = x.Re[i];
        const long double im = x.Im[i];
        m[i] = static_cast<float>(std::sqrt(re * re + im * im) * scale);
    }
    return m;
}

} // namespace testsupport
