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

#include "dsp/dspIIRBlock.h"
#include "dsp/dspIIRDesign.h"
#include "dsp/dspTypes.h"

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

class TdspIIRFilter {
public:
    using THistory = std::array<extended, PoleZeroCapacity>;

    // A first-order Butterworth low-pass at 300 Hz for 44100 Hz, designed and ready.
    TdspIIRFilter();
    // Created from stored properties: starts as above, then each value goes
    // through its setter, in the order Kind, Response, Order, Frequency1,
    // Frequency2, SampleRate, Ripple (so each may redesign on the way).
    explicit TdspIIRFilter(const TdspIIRFilterProperties& stored);

    TdspIIRFilter(const TdspIIRFilter&) = delete;
    TdspIIRFilter& operator=(const TdspIIRFilter&) = delete;

    TdspIIRFilterKind Kind() const { return kind_; }
    // Accepts 0..2 (fkButterworth..fkBessel); redesigns on a change.
    void SetKind(int value);
    TdspIIRFilterResponse Response() const { return response_; }
    // Accepts 0..3 (ftLowpass..ftBandstop); redesigns on a change.
    void SetResponse(int value);
    int Order() const { return order_; }
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

    extended SampleRate() const { return sampleRate_; }
    // Accepts values > 0; lowers both frequencies to at most SampleRate/2 - 0.0001.
    void SetSampleRate(extended hz);

    // Chebyshev pass-band ripple in dB, stored as its absolute value; a NaN is
    // ignored. Redesigns only when Kind is fkChebyshev.
    extended Ripple() const { return ripple_; }
    void SetRipple(extended db);

    // The design.
    extended GainScale() const { return gainScale_; }
    // Diagnostics of the latest design that produced any; never cleared.
    const std::string& ErrorText() const { return errorText_; }
    const TPoleZeroSet& AnalogPZ() const { return analogPZ_; }
    const TPoleZeroSet& DigitalPZ() const { return digitalPZ_; }
    std::int32_t TapCount() const { return tapCount_; }
    const THistory& FeedForward() const { return feedForward_; }
    const THistory& FeedBack() const { return feedBack_; }

    // The filter state, entry TapCount the newest, 0 the oldest, entries above TapCount 0.
    THistory InputHistory() const;
    THistory OutputHistory() const;

    // Filters one sample with the step bound by the latest design.
    extended FilterSample(extended x) { return (this->*step_)(x); }

    // output[i] = (single)FilterSample((extended)input[i]) for i = 0..count-1,
    // bit for bit, with the same history updates, but several samples at once.
    void FilterBlock(const std::int16_t* input, single* output, int count) { (this->*block_)(input, output, count); }

    // Clears both histories; coefficients and step stay.
    void ResetHistory();

private:
    using TStep = extended (TdspIIRFilter::*)(extended);
    using TBlock = void (TdspIIRFilter::*)(const std::int16_t*, single*, int);

    // The edges as fractions of the sample rate, raised to the design's floor;
    // for a low-pass or high-pass both are the one edge.
    struct TNormalisedEdges {
        extended Alpha1;
        extended Alpha2;
    };
    // The response of the designed polynomials at the three points where the
    // gain may be normalised: z = 1 (DC), z = cis(pi*(Alpha1 + Alpha2)) (the
    // band's mean edge) and z = -1 (Nyquist).
    struct TReferenceResponses {
        TComplex Dc;
        TComplex Centre;
        TComplex Nyquist;
    };

    // Recomputes the whole design from the properties, one step after the
    // other (the steps themselves are in dspIIRDesign.h).
    void Redesign();
    TNormalisedEdges NormalisedEdges() const;
    // analogPZ_: the prototype's poles for Kind, Order and Ripple.
    void DesignPrototype();
    // digitalPZ_: the prototype moved to Response at the prewarped edges and
    // mapped to the z-plane.
    void PlaceDigitalPolesAndZeros(const TNormalisedEdges& edges);
    // tapCount_, feedForward_ and feedBack_ from the digital poles and zeros;
    // clears the histories.
    TReferenceResponses BuildRecurrence(const TNormalisedEdges& edges);
    // gainScale_: unity gain where the response type puts it.
    void NormaliseGain(const TReferenceResponses& responses);
    // The per-sample and block steps for the design.
    void BindStepsForDesign(const TNormalisedEdges& edges);
    // The coefficients in the form of the block kernel, when the design suits it.
    void PrepareBlockKernel();
    // A diagnostic in errorText_ when the gain or a coefficient is not finite.
    void ReportNonFiniteDesign(const TReferenceResponses& responses);

    extended IIRStep(extended x);
    extended ZeroStep(extended x);
    extended PassStep(extended x);

    // The histories live in two linear buffers: entry j of the current window
    // is Buffer[historyPos_ + j]. A step advances the window instead of
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

    TdspIIRFilterKind kind_ = fkButterworth;
    TdspIIRFilterResponse response_ = ftLowpass;
    int order_ = 1;
    extended frequency1_ = 0;
    extended frequency2_ = 0;
    extended sampleRate_ = 0;
    extended ripple_ = 0;
    extended gainScale_ = 0;
    std::string errorText_;
    TPoleZeroSet analogPZ_{};
    TPoleZeroSet digitalPZ_{};
    THistory feedForward_{};
    THistory feedBack_{};
    std::int32_t tapCount_ = 0;
    TStep step_ = &TdspIIRFilter::PassStep;
    TBlock block_ = &TdspIIRFilter::PassBlock;
    int historyPos_ = 0;
    alignas(64) std::array<extended, HistoryLength> inputBuffer_{};
    alignas(64) std::array<extended, HistoryLength> outputBuffer_{};
    // The design and the history windows in the form of the block kernel
    // (nullptr when the design does not suit it).
    dspIIRBlock::TBlockKernel kernel_ = nullptr;
    std::array<double, PoleZeroCapacity> feedForwardDouble_{};
    std::array<dspIIRBlock::TSplit, PoleZeroCapacity> feedBackSplit_{};
    alignas(64) std::array<dspIIRBlock::TSplit, HistoryLength> inputSplit_{};
    alignas(64) std::array<dspIIRBlock::TSplit, HistoryLength> outputSplit_{};
};
