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

#include "dsp/TComponent.h"
#include "dsp/dspTypes.h"
#include "dsp/dspWindow.h"

class TdspCustomFFT : public TComponent {
public:
    // Power 9 (N = 512), fwNone; data arrays zero, weights all 1.
    explicit TdspCustomFFT(TComponent* owner = nullptr);
    ~TdspCustomFFT() override;

    // log2 of the length, clamped to 2..15. Assigning the current value keeps
    // the arrays and their contents; any other value reallocates everything,
    // zeroes the data arrays and rebuilds the tables.
    int Power() const { return FPower; }
    void SetPower(int value);

    // N = 2^Power. Assigning a length rounds it down to a power of two within
    // 4..32768 (3000 gives 2048, 1 gives 4).
    int BufferSize() const { return FBufferSize; }
    void SetBufferSize(int value);

    // Window applied to InReal by Transform. Assigning always refills the weights.
    TdspWindow Window() const { return FWindow; }
    void SetWindow(TdspWindow value);

    // N/2, the number of magnitude lines.
    int HalfSize() const { return FHalfSize; }
    // 1/HalfSize rounded to single: the magnitude scale.
    single HalfScale() const { return FHalfScale; }

    single* InReal() { return FInReal.get(); }
    single* InImag() { return FInImag.get(); }
    single* OutReal() { return FOutReal.get(); }
    single* OutImag() { return FOutImag.get(); }
    const single* InReal() const { return FInReal.get(); }
    const single* InImag() const { return FInImag.get(); }
    const single* OutReal() const { return FOutReal.get(); }
    const single* OutImag() const { return FOutImag.get(); }

    // Read-only tables: N window weights, N bit-reversed indices, and Power
    // twiddle steps cos(pi/2^k), sin(pi/2^k).
    const single* WindowTable() const { return FWindowTable.get(); }
    const std::int32_t* BitReverse() const { return FBitReverse.get(); }
    const single* CosTable() const { return FCosTable.get(); }
    const single* SinTable() const { return FSinTable.get(); }

    // Weights InReal in place (unless fwNone), then transforms (InReal, InImag)
    // into (OutReal, OutImag). InReal must be refilled before the next call.
    void Transform();
    // OutReal[m] = |X[m]| * HalfScale for m < HalfSize; OutImag and the upper
    // half of OutReal are left as they are. Reads OutReal in place: call once.
    void Magnitude();

protected:
    // The transform with exponent sign `direction` (Transform passes +1).
    void DoTransform(std::int32_t direction);
    void ApplyWindow();
    void ClearBuffers();
    void FreeBuffers();
    void BuildBitReverse();
    void BuildTwiddles();

private:
    void BuildStageFactors();

    int FPower = 0;
    TdspWindow FWindow = fwNone;
    std::unique_ptr<single[]> FWindowTable;
    int FBufferSize = 0;
    int FHalfSize = 0;
    std::unique_ptr<single[]> FCosTable;
    std::unique_ptr<single[]> FSinTable;
    std::unique_ptr<std::int32_t[]> FBitReverse;
    single FHalfScale = 0;
    std::unique_ptr<single[]> FInReal;
    std::unique_ptr<single[]> FInImag;
    std::unique_ptr<single[]> FOutReal;
    std::unique_ptr<single[]> FOutImag;
    // Running factors u of every stage for direction +1, stage k at [2^k - 1, 2^(k+1) - 1),
    // as exact double copies of the single values.
    std::unique_ptr<double[]> FFactorRe;
    std::unique_ptr<double[]> FFactorIm;
};

// Stored property values of a TdspFFT, applied in the order Power, BufferSize, Window.
struct TdspFFTProperties {
    int Power;
    int BufferSize;
    TdspWindow Window;
};

class TdspFFT : public TdspCustomFFT {
public:
    explicit TdspFFT(TComponent* owner = nullptr);
    // Created from stored properties: each goes through its setter.
    TdspFFT(TComponent* owner, const TdspFFTProperties& stored);
};
