#pragma once

// IIR filter component: a recursive filter designed from seven properties
// and applied one sample at a time.
//
// Recurrence (n = TapCount, g = GainScale, all in extended precision):
//   t = g*x;  for i = 0..n-1:  t = (InputHistory[i]*FeedForward[i] + t) + OutputHistory[i]*FeedBack[i]
// with the histories holding the last n scaled inputs (g*x) and outputs,
// entry n the newest and entry 0 the oldest. The grouping and order of the
// additions fix the rounding, so every way of filtering here keeps them.
//
// Every property assignment that changes a value redesigns the filter: new
// coefficients and gain, cleared histories, and a new per-sample step
// (IIRStep; ZeroStep for a band-pass whose two normalised edges coincide,
// PassStep for such a band-stop). Out-of-range values are clamped or ignored
// silently. Design diagnostics are kept in ErrorText; nothing is thrown.

#include <array>
#include <cstdint>
#include <string>

#include "dsp/TComponent.h"
#include "dsp/dspIIRBlock.h"
#include "dsp/dspIIRDesign.h"
#include "dsp/dspTypes.h"

class TdspCustomIIRFilter : public TComponent {
public:
    using THistory = std::array<extended, PoleZeroCapacity>;

    // A first-order Butterworth low-pass at 300 Hz for 44100 Hz, designed and ready.
    explicit TdspCustomIIRFilter(TComponent* owner = nullptr);

    TdspIIRFilterKind Kind() const { return FKind; }
    // Accepts 0..2 (fkButterworth..fkBessel); redesigns on a change.
    void SetKind(int value);
    TdspIIRFilterResponse Response() const { return FResponse; }
    // Accepts 0..3 (ftLowpass..ftBandstop); redesigns on a change.
    void SetResponse(int value);
    int Order() const { return FOrder; }
    // Prototype order, accepts 1..8; band-pass and band-stop have twice as many poles.
    void SetOrder(int value);

    // Edge frequencies in Hz. Frequency2 reads as Frequency1 for low-pass and high-pass.
    extended Frequency1() const { return Frequency(1); }
    extended Frequency2() const { return Frequency(2); }
    // Clamped to [1e-10, SampleRate/2 - 0.0001]; redesigns on a change.
    void SetFrequency1(extended hz) { SetFrequency(1, hz); }
    void SetFrequency2(extended hz) { SetFrequency(2, hz); }
    // index 1: Frequency1, any other index: Frequency2.
    extended Frequency(int index) const;
    void SetFrequency(int index, extended hz);

    extended SampleRate() const { return FSampleRate; }
    // Accepts values > 0; lowers both frequencies to at most SampleRate/2 - 0.0001.
    void SetSampleRate(extended hz);

    // Chebyshev pass-band ripple in dB, stored as its absolute value; a NaN is
    // ignored. Redesigns only when Kind is fkChebyshev.
    extended Ripple() const { return FRipple; }
    void SetRipple(extended db);

    // The design.
    extended GainScale() const { return FGainScale; }
    // Diagnostics of the latest design that produced any; never cleared.
    const std::string& ErrorText() const { return FErrorText; }
    const TPoleZeroSet& AnalogPZ() const { return FAnalogPZ; }
    const TPoleZeroSet& DigitalPZ() const { return FDigitalPZ; }
    std::int32_t TapCount() const { return FTapCount; }
    const THistory& FeedForward() const { return FFeedForward; }
    const THistory& FeedBack() const { return FFeedBack; }

    // The filter state, entry TapCount the newest, 0 the oldest, entries above TapCount 0.
    THistory InputHistory() const;
    THistory OutputHistory() const;

    // Filters one sample with the step bound by the latest design.
    extended FilterSample(extended x) { return (this->*FStep)(x); }

    // output[i] = (single)FilterSample((extended)input[i]) for i = 0..count-1,
    // bit for bit, with the same history updates, but several samples at once.
    void FilterBlock(const std::int16_t* input, single* output, int count) { (this->*FBlock)(input, output, count); }

    // Clears both histories; coefficients and step stay.
    void ResetHistory();

protected:
    // Recomputes the whole design from the properties (see dspIIRDesign.h).
    void Redesign();

    extended IIRStep(extended x);
    extended ZeroStep(extended x);
    extended PassStep(extended x);

private:
    using TStep = extended (TdspCustomIIRFilter::*)(extended);
    using TBlock = void (TdspCustomIIRFilter::*)(const std::int16_t*, single*, int);

    // The histories live in two linear buffers: entry j of the current window
    // is Buffer[FHistoryPos + j]. A step advances the window instead of
    // shifting it, and the window is moved back to the start only when it
    // reaches the end of the buffer.
    static constexpr int HistorySpan = 512;
    static constexpr int HistoryLength = PoleZeroCapacity + HistorySpan;

    void IIRBlock(const std::int16_t* input, single* output, int count);
    // The block routines behind IIRBlock: the split-double kernel as far as it
    // goes (returns the samples done), then plain extended arithmetic.
    int SplitBlock(const std::int16_t* input, single* output, int count);
    void ExtendedBlock(const std::int16_t* input, single* output, int count);
    void ZeroBlock(const std::int16_t* input, single* output, int count);
    void PassBlock(const std::int16_t* input, single* output, int count);
    // Makes room for `samples` more window advances.
    void ReserveHistory(int samples);
    void BindSteps(TStep step, TBlock block);

    TdspIIRFilterKind FKind = fkButterworth;
    TdspIIRFilterResponse FResponse = ftLowpass;
    int FOrder = 1;
    extended FFrequency1 = 0;
    extended FFrequency2 = 0;
    extended FSampleRate = 0;
    extended FRipple = 0;
    extended FGainScale = 0;
    std::string FErrorText;
    TPoleZeroSet FAnalogPZ{};
    TPoleZeroSet FDigitalPZ{};
    THistory FFeedForward{};
    THistory FFeedBack{};
    std::int32_t FTapCount = 0;
    TStep FStep = &TdspCustomIIRFilter::PassStep;
    TBlock FBlock = &TdspCustomIIRFilter::PassBlock;
    int FHistoryPos = 0;
    alignas(64) std::array<extended, HistoryLength> FInputBuffer{};
    alignas(64) std::array<extended, HistoryLength> FOutputBuffer{};
    // The design and the history windows in the form of the block kernel
    // (nullptr when the design does not suit it).
    dspIIRBlock::TBlockKernel FKernel = nullptr;
    std::array<double, PoleZeroCapacity> FFeedForwardDouble{};
    std::array<dspIIRBlock::TSplit, PoleZeroCapacity> FFeedBackSplit{};
    alignas(64) std::array<dspIIRBlock::TSplit, HistoryLength> FInputSplit{};
    alignas(64) std::array<dspIIRBlock::TSplit, HistoryLength> FOutputSplit{};
};

// Stored property values of a TdspIIRFilter, applied in this order.
struct TdspIIRFilterProperties {
    TdspIIRFilterKind Kind;
    TdspIIRFilterResponse Response;
    int Order;
    extended Frequency1;
    extended Frequency2;
    extended SampleRate;
    extended Ripple;
};

class TdspIIRFilter : public TdspCustomIIRFilter {
public:
    explicit TdspIIRFilter(TComponent* owner = nullptr);
    // Created from stored properties: each goes through its setter, in the
    // order Kind, Response, Order, Frequency1, Frequency2, SampleRate, Ripple.
    TdspIIRFilter(TComponent* owner, const TdspIIRFilterProperties& stored);
};
