#include "dsp/TdspFFT.h"

#include <algorithm>
#include <cmath>

#include "dsp/dspExactMath.h"
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

TdspFFT::TdspFFT() { SetPower(9); }

TdspFFT::TdspFFT(const TdspFFTProperties& stored) : TdspFFT()
{
    SetPower(stored.Power);
    SetBufferSize(stored.BufferSize);
    SetWindow(stored.Window);
}

void TdspFFT::SetPower(int value)
{
    const int p = std::max(2, std::min(15, value));
    if (p == power_) {
        return;
    }
    power_ = p;
    bufferSize_ = 1 << p;
    halfSize_ = bufferSize_ / 2;
    halfScale_ = static_cast<single>(1.0L / static_cast<extended>(halfSize_));
    FreeBuffers();
    inReal_ = std::make_unique<single[]>(bufferSize_);
    inImag_ = std::make_unique<single[]>(bufferSize_);
    outReal_ = std::make_unique<single[]>(bufferSize_);
    outImag_ = std::make_unique<single[]>(bufferSize_);
    windowTable_ = std::make_unique<single[]>(bufferSize_);
    ClearBuffers();
    BuildBitReverse();
    BuildTwiddles();
    SetWindow(window_);
}

void TdspFFT::SetBufferSize(int value)
{
    if (value == bufferSize_) {
        return;
    }
    int a = 0;
    while (a < 15 && (std::int64_t{1} << (a + 1)) <= value) {
        ++a;
    }
    SetPower(a);
}

void TdspFFT::SetWindow(TdspWindow value)
{
    window_ = value;
    FillWindow(value, windowTable_.get(), bufferSize_);
}

void TdspFFT::ClearBuffers()
{
    std::fill_n(inReal_.get(), bufferSize_, single{0});
    std::fill_n(inImag_.get(), bufferSize_, single{0});
    std::fill_n(outReal_.get(), bufferSize_, single{0});
    std::fill_n(outImag_.get(), bufferSize_, single{0});
}

void TdspFFT::FreeBuffers()
{
    inReal_.reset();
    inImag_.reset();
    outReal_.reset();
    outImag_.reset();
    windowTable_.reset();
}

void TdspFFT::BuildBitReverse()
{
    const int n = bufferSize_;
    bitReverse_ = std::make_unique<std::int32_t[]>(n);
    for (int i = 0; i < n; ++i) {
        bitReverse_[i] = i;
    }
    int j = 0;
    for (int i = 0; i < n; ++i) {
        if (j > i) {
            std::swap(bitReverse_[i], bitReverse_[j]);
        }
        int m = halfSize_;
        while (m > 0 && j >= m) {
            j -= m;
            m /= 2;
        }
        j += m;
    }
}

void TdspFFT::BuildTwiddles()
{
    cosTable_ = std::make_unique<single[]>(power_);
    sinTable_ = std::make_unique<single[]>(power_);
    for (int k = 0; k < power_; ++k) {
        const extended angle = ExtendedPi / static_cast<extended>(std::int64_t{1} << k);
        // Every step of every length is in dspExactMath's table.
        cosTable_[k] = static_cast<single>(dspExactMath::Cos(angle));
        sinTable_[k] = static_cast<single>(dspExactMath::Sin(angle));
    }
    BuildStageFactors();
}

// The running factors u of every stage for direction +1, computed once per
// length by the same recurrence that RunTransform defines.
void TdspFFT::BuildStageFactors()
{
    factorRe_ = std::make_unique<double[]>(bufferSize_);
    factorIm_ = std::make_unique<double[]>(bufferSize_);
    for (int k = 0; k < power_; ++k) {
        const int h = 1 << k;
        const single wr = cosTable_[k];
        const single wi = sinTable_[k];
        single ur = 1;
        single ui = 0;
        for (int j = 0; j < h; ++j) {
            factorRe_[h - 1 + j] = ur;
            factorIm_[h - 1 + j] = ui;
            AdvanceFactor(ur, ui, wr, wi);
        }
    }
}

void TdspFFT::Transform()
{
    // The window weighs InReal as the transform reads it.
    dspFFTStages::RunTransform(inReal_.get(), inImag_.get(), outReal_.get(), outImag_.get(), power_, bitReverse_.get(),
                               factorRe_.get(), factorIm_.get(), window_ != fwNone ? windowTable_.get() : nullptr);
}

void TdspFFT::RunTransform(std::int32_t direction)
{
    const int n = bufferSize_;
    single* xr = outReal_.get();
    single* xi = outImag_.get();
    if (direction == 1) {
        dspFFTStages::RunTransform(inReal_.get(), inImag_.get(), xr, xi, power_, bitReverse_.get(), factorRe_.get(),
                                   factorIm_.get(), nullptr);
        return;
    }
    for (int i = n - 1; i >= 0; --i) {
        xr[i] = inReal_[bitReverse_[i]];
        xi[i] = inImag_[bitReverse_[i]];
    }
    for (int k = 0; k < power_; ++k) {
        const int h = 1 << k;
        const int s = 2 * h;
        const single wr = cosTable_[k];
        const single wi = static_cast<single>(static_cast<extended>(direction) * sinTable_[k]);
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

void TdspFFT::Magnitude()
{
    single* xr = outReal_.get();
    const single* xi = outImag_.get();
    dspFFTStages::RunMagnitudes(xr, xi, halfSize_, halfScale_);
}
