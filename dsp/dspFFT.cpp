#include "dsp/dspFFT.h"

#include <algorithm>
#include <cmath>

#include "dsp/dspFFTStages.h"

using dspFFTStages::MulIm;
using dspFFTStages::MulRe;

namespace {

// u = u * w, both parts from the old u, each rounded to single: the running
// twiddle factor of a butterfly stage.
void AdvanceFactor(single& ur, single& ui, single wr, single wi)
{
    const single nr = MulRe(ur, ui, wr, wi);
    const single ni = MulIm(ur, ui, wr, wi);
    ur = nr;
    ui = ni;
}

} // namespace

TdspCustomFFT::TdspCustomFFT(TComponent* owner) : TComponent(owner)
{
    SetPower(9);
}

TdspCustomFFT::~TdspCustomFFT() = default;

void TdspCustomFFT::SetPower(int value)
{
    const int p = std::max(2, std::min(15, value));
    if (p == FPower) {
        return;
    }
    FPower = p;
    FBufferSize = 1 << p;
    FHalfSize = FBufferSize / 2;
    FHalfScale = static_cast<single>(1.0L / static_cast<extended>(FHalfSize));
    FreeBuffers();
    FInReal = std::make_unique<single[]>(FBufferSize);
    FInImag = std::make_unique<single[]>(FBufferSize);
    FOutReal = std::make_unique<single[]>(FBufferSize);
    FOutImag = std::make_unique<single[]>(FBufferSize);
    FWindowTable = std::make_unique<single[]>(FBufferSize);
    ClearBuffers();
    BuildBitReverse();
    BuildTwiddles();
    SetWindow(FWindow);
}

void TdspCustomFFT::SetBufferSize(int value)
{
    if (value == FBufferSize) {
        return;
    }
    int a = 0;
    while (a < 15 && (std::int64_t{1} << (a + 1)) <= value) {
        ++a;
    }
    SetPower(a);
}

void TdspCustomFFT::SetWindow(TdspWindow value)
{
    FWindow = value;
    FillWindow(value, FWindowTable.get(), FBufferSize);
}

void TdspCustomFFT::ClearBuffers()
{
    std::fill_n(FInReal.get(), FBufferSize, single{0});
    std::fill_n(FInImag.get(), FBufferSize, single{0});
    std::fill_n(FOutReal.get(), FBufferSize, single{0});
    std::fill_n(FOutImag.get(), FBufferSize, single{0});
}

void TdspCustomFFT::FreeBuffers()
{
    FInReal.reset();
    FInImag.reset();
    FOutReal.reset();
    FOutImag.reset();
    FWindowTable.reset();
}

void TdspCustomFFT::BuildBitReverse()
{
    const int n = FBufferSize;
    FBitReverse = std::make_unique<std::int32_t[]>(n);
    for (int i = 0; i < n; ++i) {
        FBitReverse[i] = i;
    }
    int j = 0;
    for (int i = 0; i < n; ++i) {
        if (j > i) {
            std::swap(FBitReverse[i], FBitReverse[j]);
        }
        int m = FHalfSize;
        while (m > 0 && j >= m) {
            j -= m;
            m /= 2;
        }
        j += m;
    }
}

void TdspCustomFFT::BuildTwiddles()
{
    FCosTable = std::make_unique<single[]>(FPower);
    FSinTable = std::make_unique<single[]>(FPower);
    for (int k = 0; k < FPower; ++k) {
        const extended angle = ExtendedPi / static_cast<extended>(std::int64_t{1} << k);
        FCosTable[k] = static_cast<single>(std::cos(angle));
        FSinTable[k] = static_cast<single>(std::sin(angle));
    }
    BuildStageFactors();
}

// The running factors u of every stage for direction +1, computed once per
// length by the same recurrence that DoTransform defines.
void TdspCustomFFT::BuildStageFactors()
{
    FFactorRe = std::make_unique<double[]>(FBufferSize);
    FFactorIm = std::make_unique<double[]>(FBufferSize);
    for (int k = 0; k < FPower; ++k) {
        const int h = 1 << k;
        const single wr = FCosTable[k];
        const single wi = FSinTable[k];
        single ur = 1;
        single ui = 0;
        for (int j = 0; j < h; ++j) {
            FFactorRe[h - 1 + j] = ur;
            FFactorIm[h - 1 + j] = ui;
            AdvanceFactor(ur, ui, wr, wi);
        }
    }
}

void TdspCustomFFT::ApplyWindow()
{
    single* x = FInReal.get();
    const single* w = FWindowTable.get();
    // A product of two singles is exact in extended: rounding it once to
    // single is what the single multiplication does.
    for (int i = 0; i < FBufferSize; ++i) {
        x[i] = x[i] * w[i];
    }
}

void TdspCustomFFT::Transform()
{
    // The window weighs InReal as the transform reads it.
    dspFFTStages::RunTransform(FInReal.get(), FInImag.get(), FOutReal.get(), FOutImag.get(), FPower, FBitReverse.get(),
                               FFactorRe.get(), FFactorIm.get(), FWindow != fwNone ? FWindowTable.get() : nullptr);
}

void TdspCustomFFT::DoTransform(std::int32_t direction)
{
    const int n = FBufferSize;
    single* xr = FOutReal.get();
    single* xi = FOutImag.get();
    if (direction == 1) {
        dspFFTStages::RunTransform(FInReal.get(), FInImag.get(), xr, xi, FPower, FBitReverse.get(), FFactorRe.get(),
                                   FFactorIm.get(), nullptr);
        return;
    }
    for (int i = n - 1; i >= 0; --i) {
        xr[i] = FInReal[FBitReverse[i]];
        xi[i] = FInImag[FBitReverse[i]];
    }
    for (int k = 0; k < FPower; ++k) {
        const int h = 1 << k;
        const int s = 2 * h;
        const single wr = FCosTable[k];
        const single wi = static_cast<single>(static_cast<extended>(direction) * FSinTable[k]);
        single ur = 1;
        single ui = 0;
        for (int j = 0; j < h; ++j) {
            for (int a = j; a < n; a += s) {
                const int b = a + h;
                const single tr = MulRe(ur, ui, xr[b], xi[b]);
                const single ti = MulIm(ur, ui, xr[b], xi[b]);
                const extended ar = xr[a];
                const extended ai = xi[a];
                xr[b] = static_cast<single>(ar - tr);
                xi[b] = static_cast<single>(ai - ti);
                xr[a] = static_cast<single>(ar + tr);
                xi[a] = static_cast<single>(ai + ti);
            }
            AdvanceFactor(ur, ui, wr, wi);
        }
    }
}

void TdspCustomFFT::Magnitude()
{
    single* xr = FOutReal.get();
    const single* xi = FOutImag.get();
    dspFFTStages::RunMagnitudes(xr, xi, FHalfSize, FHalfScale);
}

TdspFFT::TdspFFT(TComponent* owner) : TdspCustomFFT(owner) {}

TdspFFT::TdspFFT(TComponent* owner, const TdspFFTProperties& stored) : TdspCustomFFT(owner)
{
    SetPower(stored.Power);
    SetBufferSize(stored.BufferSize);
    SetWindow(stored.Window);
}
