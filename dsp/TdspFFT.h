#pragma once

// FFT component: radix-2 decimation-in-time transform of N = 2^Power complex
// samples, an optional window on the real input, and a magnitude spectrum.
//
// Scaling and sign: Transform computes, with no normalising factor,
//   X[m] = sum_n (InReal[n] + i*InImag[n]) * exp(+2*pi*i*n*m/N)
// (positive exponent: for real input the imaginary parts have the opposite
// sign of the usual forward transform). Magnitude then replaces
// OutReal[m], m < N/2, by sqrt(Re^2 + Im^2) * 2/N, so a cosine of amplitude A
// at a line shows as A there.
//
// Arithmetic: every butterfly part, twiddle factor and magnitude is formed in
// extended precision and rounded to single once; the twiddle factors of a
// stage come from one stored step by repeated complex multiplication, each
// product rounded to single.
//
// Ownership: the component owns all arrays. InReal, InImag, OutReal and
// OutImag (N singles each) are read and written in place by the user; their
// addresses change whenever the length changes, so never keep them across
// SetPower or SetBufferSize. Transform and Magnitude allocate nothing.

#include <cstdint>
#include <memory>

#include "dsp/dspTypes.h"
#include "dsp/dspWindow.h"

// Stored property values of a TdspFFT, applied in the order Power, BufferSize, Window.
struct TdspFFTProperties {
    int Power;
    int BufferSize;
    TdspWindow Window;
};

class TdspFFT {
public:
    // Power 9 (N = 512), fwNone; data arrays zero, weights all 1.
    TdspFFT();
    // Created from stored properties: each goes through its setter, in the
    // order Power, BufferSize, Window.
    explicit TdspFFT(const TdspFFTProperties& stored);

    TdspFFT(const TdspFFT&) = delete;
    TdspFFT& operator=(const TdspFFT&) = delete;

    // log2 of the length, clamped to 2..15. Assigning the current value keeps
    // the arrays and their contents; any other value reallocates everything,
    // zeroes the data arrays and rebuilds the tables.
    int Power() const { return power_; }
    void SetPower(int value);

    // N = 2^Power. Assigning a length rounds it down to a power of two within
    // 4..32768 (3000 gives 2048, 1 gives 4).
    int BufferSize() const { return bufferSize_; }
    void SetBufferSize(int value);

    // Window applied to InReal by Transform. Assigning always refills the weights.
    TdspWindow Window() const { return window_; }
    void SetWindow(TdspWindow value);

    // N/2, the number of magnitude lines.
    int HalfSize() const { return halfSize_; }
    // 1/HalfSize rounded to single: the magnitude scale.
    single HalfScale() const { return halfScale_; }

    single* InReal() { return inReal_.get(); }
    single* InImag() { return inImag_.get(); }
    single* OutReal() { return outReal_.get(); }
    single* OutImag() { return outImag_.get(); }
    const single* InReal() const { return inReal_.get(); }
    const single* InImag() const { return inImag_.get(); }
    const single* OutReal() const { return outReal_.get(); }
    const single* OutImag() const { return outImag_.get(); }

    // Read-only tables: N window weights, N bit-reversed indices, and Power
    // twiddle steps cos(pi/2^k), sin(pi/2^k).
    const single* WindowTable() const { return windowTable_.get(); }
    const std::int32_t* BitReverse() const { return bitReverse_.get(); }
    const single* CosTable() const { return cosTable_.get(); }
    const single* SinTable() const { return sinTable_.get(); }

    // Weights InReal in place (unless fwNone), then RunTransform(+1). InReal
    // must be refilled before the next call.
    void Transform();
    // Transforms (InReal, InImag) into (OutReal, OutImag) without weighting,
    // with exponent sign `direction`: +1 as above, -1 for the usual forward
    // sign exp(-2*pi*i*n*m/N). Same scaling and rounding either way.
    void RunTransform(std::int32_t direction);
    // OutReal[m] = |X[m]| * HalfScale for m < HalfSize; OutImag and the upper
    // half of OutReal are left as they are. Reads OutReal in place: call once.
    void Magnitude();

private:
    void ClearBuffers();
    void FreeBuffers();
    void BuildBitReverse();
    void BuildTwiddles();
    void BuildStageFactors();

    int power_ = 0;
    TdspWindow window_ = fwNone;
    std::unique_ptr<single[]> windowTable_;
    int bufferSize_ = 0;
    int halfSize_ = 0;
    std::unique_ptr<single[]> cosTable_;
    std::unique_ptr<single[]> sinTable_;
    std::unique_ptr<std::int32_t[]> bitReverse_;
    single halfScale_ = 0;
    std::unique_ptr<single[]> inReal_;
    std::unique_ptr<single[]> inImag_;
    std::unique_ptr<single[]> outReal_;
    std::unique_ptr<single[]> outImag_;
    // Running factors u of every stage for direction +1, stage k at [2^k - 1, 2^(k+1) - 1),
    // as exact double copies of the single values.
    std::unique_ptr<double[]> factorRe_;
    std::unique_ptr<double[]> factorIm_;
};
