#include "dsp/TdspIIRFilter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "dsp/dspExactMath.h"

TdspIIRFilter::TdspIIRFilter()
{
    BindSteps(&TdspIIRFilter::PassStep, &TdspIIRFilter::PassBlock);
    sampleRate_ = 44100.0L;
    frequency1_ = 300.0L;
    frequency2_ = 3000.0L;
    order_ = 1;
    Redesign();
}

TdspIIRFilter::TdspIIRFilter(const TdspIIRFilterProperties& stored) : TdspIIRFilter()
{
    SetKind(stored.Kind);
    SetResponse(stored.Response);
    SetOrder(stored.Order);
    SetFrequency1(stored.Frequency1);
    SetFrequency2(stored.Frequency2);
    SetSampleRate(stored.SampleRate);
    SetRipple(stored.Ripple);
}

void TdspIIRFilter::SetKind(int value)
{
    if (value != kind_ && value >= fkButterworth && value <= fkBessel) {
        kind_ = static_cast<TdspIIRFilterKind>(value);
        Redesign();
    }
}

void TdspIIRFilter::SetResponse(int value)
{
    if (value != response_ && value >= ftLowpass && value <= ftBandstop) {
        response_ = static_cast<TdspIIRFilterResponse>(value);
        Redesign();
    }
}

void TdspIIRFilter::SetOrder(int value)
{
    if (value != order_ && value >= 1 && value <= 8) {
        order_ = value;
        Redesign();
    }
}

extended TdspIIRFilter::Frequency(int index) const
{
    if (index == 1) {
        return frequency1_;
    }
    return (response_ == ftBandpass || response_ == ftBandstop) ? frequency2_ : frequency1_;
}

void TdspIIRFilter::SetFrequency(int index, extended hz)
{
    // min(hz, limit) then max(1e-10, .); a NaN ends at the upper limit.
    const extended limit = sampleRate_ / 2.0L - 0.0001L;
    const extended lowered = hz < limit ? hz : limit;
    const extended value = 1e-10L > lowered ? 1e-10L : lowered;
    extended& field = index == 1 ? frequency1_ : frequency2_;
    if (value != field) {
        field = value;
        Redesign();
    }
}

void TdspIIRFilter::SetSampleRate(extended hz)
{
    if (hz != sampleRate_ && hz > 0) {
        sampleRate_ = hz;
        const extended limit = sampleRate_ / 2.0L - 0.0001L;
        frequency1_ = frequency1_ < limit ? frequency1_ : limit;
        frequency2_ = frequency2_ < limit ? frequency2_ : limit;
        Redesign();
    }
}

void TdspIIRFilter::SetRipple(extended db)
{
    const extended value = std::fabs(db);
    if (std::isnan(value) || value == ripple_) {
        return;
    }
    ripple_ = value;
    if (kind_ == fkChebyshev) {
        Redesign();
    }
}

TdspIIRFilter::THistory TdspIIRFilter::InputHistory() const
{
    THistory h{};
    for (int j = 0; j <= tapCount_; ++j) {
        h[j] = inputBuffer_[historyPos_ + j];
    }
    return h;
}

TdspIIRFilter::THistory TdspIIRFilter::OutputHistory() const
{
    THistory h{};
    for (int j = 0; j <= tapCount_; ++j) {
        h[j] = outputBuffer_[historyPos_ + j];
    }
    return h;
}

void TdspIIRFilter::ResetHistory()
{
    inputBuffer_.fill(0.0L);
    outputBuffer_.fill(0.0L);
    historyPos_ = 0;
}

void TdspIIRFilter::BindSteps(TStep step, TBlock block)
{
    step_ = step;
    block_ = block;
}

void TdspIIRFilter::Redesign()
{
    const TNormalisedEdges edges = NormalisedEdges();
    DesignPrototype();
    PlaceDigitalPolesAndZeros(edges);
    const TReferenceResponses responses = BuildRecurrence(edges);
    NormaliseGain(responses);
    BindStepsForDesign(edges);
    PrepareBlockKernel();
    ReportNonFiniteDesign(responses);
}

TdspIIRFilter::TNormalisedEdges TdspIIRFilter::NormalisedEdges() const
{
    // Both edges are raised to a floor that grows with the order.
    const extended minEdge = static_cast<extended>(order_) * 0.0001L;
    const extended r1 = frequency1_ / sampleRate_;
    const extended r2 = frequency2_ / sampleRate_;
    TNormalisedEdges edges{};
    edges.Alpha1 = r1 > minEdge ? r1 : minEdge;
    edges.Alpha2 = r2 > minEdge ? r2 : minEdge;
    if (response_ == ftLowpass || response_ == ftHighpass) {
        edges.Alpha2 = edges.Alpha1;
    }
    return edges;
}

void TdspIIRFilter::DesignPrototype()
{
    ClearPoleZeroSet(analogPZ_);
    if (kind_ == fkBessel) {
        AddBesselPoles(analogPZ_, order_);
    } else {
        AddButterworthPoles(analogPZ_, order_);
        if (kind_ == fkChebyshev) {
            ApplyChebyshevRipple(analogPZ_, order_, ripple_, errorText_);
        }
    }
}

void TdspIIRFilter::PlaceDigitalPolesAndZeros(const TNormalisedEdges& edges)
{
    // Prewarping puts the digital filter's edges exactly where asked, despite
    // the bilinear map's compression of the frequency axis.
    const extended w1 = 2.0L * dspExactMath::Tan(ExtendedPi * edges.Alpha1);
    const extended w2 = 2.0L * dspExactMath::Tan(ExtendedPi * edges.Alpha2);
    TransformResponse(analogPZ_, response_, order_, w1, w2);
    ClearPoleZeroSet(digitalPZ_);
    MapToDigital(analogPZ_, digitalPZ_);
}

TdspIIRFilter::TReferenceResponses TdspIIRFilter::BuildRecurrence(const TNormalisedEdges& edges)
{
    const int n = digitalPZ_.NumPoles;
    tapCount_ = n;
    ResetHistory();

    TPolynomial top;
    TPolynomial bot;
    PolyFromRoots(digitalPZ_.Zeros.data(), n, top, errorText_);
    PolyFromRoots(digitalPZ_.Poles.data(), n, bot, errorText_);
    const auto responseAt = [&](TComplex z) { return CxDiv(PolyValue(top, n, z), PolyValue(bot, n, z)); };
    TReferenceResponses responses{};
    responses.Dc = responseAt(CxMake(1.0L, 0.0L));
    responses.Centre = responseAt(CxCis(ExtendedPi * (edges.Alpha1 + edges.Alpha2)));
    responses.Nyquist = responseAt(CxMake(-1.0L, 0.0L));
    feedForward_.fill(0.0L);
    feedBack_.fill(0.0L);
    for (int i = 0; i < n; ++i) {
        feedForward_[i] = top[i].Re / bot[n].Re;
        feedBack_[i] = -(bot[i].Re / bot[n].Re);
    }
    return responses;
}

void TdspIIRFilter::NormaliseGain(const TReferenceResponses& responses)
{
    // A band-stop has two pass-bands; it takes the geometric mean of their gains.
    TComplex g = responses.Dc;
    switch (response_) {
    case ftLowpass: g = responses.Dc; break;
    case ftHighpass: g = responses.Nyquist; break;
    case ftBandpass: g = responses.Centre; break;
    case ftBandstop: g = CxSqrt(CxMul(responses.Dc, responses.Nyquist)); break;
    }
    gainScale_ = 1.0L / CxAbs(g);
}

void TdspIIRFilter::BindStepsForDesign(const TNormalisedEdges& edges)
{
    // A band whose two edges coincide passes nothing (band-pass) or
    // everything (band-stop).
    BindSteps(&TdspIIRFilter::IIRStep, &TdspIIRFilter::IIRBlock);
    if (edges.Alpha1 == edges.Alpha2) {
        if (response_ == ftBandpass) {
            BindSteps(&TdspIIRFilter::ZeroStep, &TdspIIRFilter::ZeroBlock);
        } else if (response_ == ftBandstop) {
            BindSteps(&TdspIIRFilter::PassStep, &TdspIIRFilter::PassBlock);
        }
    }
}

void TdspIIRFilter::PrepareBlockKernel()
{
    const int n = tapCount_;
    kernel_ = nullptr;
    if (step_ == &TdspIIRFilter::IIRStep) {
        kernel_ = dspIIRBlock::ChooseKernel(n, gainScale_, feedForward_.data(), feedBack_.data());
        for (int i = 0; i < n && kernel_ != nullptr; ++i) {
            feedForwardDouble_[i] = static_cast<double>(feedForward_[i]);
            dspIIRBlock::Split(feedBack_[i], feedBackSplit_[i]);
        }
    }
}

void TdspIIRFilter::ReportNonFiniteDesign(const TReferenceResponses& responses)
{
    // A degenerate design (for instance an analog pole cancelled to 0, which
    // puts a digital pole on the unit circle at z = 1 and makes the response at
    // DC 0/0) leaves infinities or NaNs in a gain or the coefficients. Say so
    // rather than filter silently with them.
    const auto finiteGain = [](TComplex z) { return std::isfinite(z.Re) && std::isfinite(z.Im); };
    bool finite = std::isfinite(gainScale_) && finiteGain(responses.Dc) && finiteGain(responses.Centre) &&
                  finiteGain(responses.Nyquist);
    for (int i = 0; i < tapCount_; ++i) {
        finite = finite && std::isfinite(feedForward_[i]) && std::isfinite(feedBack_[i]);
    }
    if (!finite) {
        char text[128];
        std::snprintf(text, sizeof text, "Filter design error: gain or coefficients not finite; GainScale=%Lg",
                      gainScale_);
        errorText_ = text;
    }
}

void TdspIIRFilter::ReserveHistory(int samples)
{
    const int n = tapCount_;
    if (historyPos_ + n + samples < HistoryLength) {
        return;
    }
    for (int j = 0; j <= n; ++j) {
        inputBuffer_[j] = inputBuffer_[historyPos_ + j];
        outputBuffer_[j] = outputBuffer_[historyPos_ + j];
    }
    historyPos_ = 0;
}

extended TdspIIRFilter::IIRStep(extended x)
{
    const int n = tapCount_;
    ReserveHistory(1);
    const int p = ++historyPos_;
    extended* in = &inputBuffer_[p];
    extended* out = &outputBuffer_[p];
    const extended* ff = feedForward_.data();
    const extended* fb = feedBack_.data();
    extended t = x * gainScale_;
    in[n] = t;
    for (int i = 0; i < n; ++i) {
        t = (in[i] * ff[i] + t) + out[i] * fb[i];
    }
    out[n] = t;
    return t;
}

extended TdspIIRFilter::ZeroStep(extended /*x*/) { return 0.0L; }

extended TdspIIRFilter::PassStep(extended x) { return x; }

void TdspIIRFilter::IIRBlock(const std::int16_t* input, single* output, int count)
{
    const int done = kernel_ != nullptr ? SplitBlock(input, output, count) : 0;
    ExtendedBlock(input + done, output + done, count - done);
}

int TdspIIRFilter::SplitBlock(const std::int16_t* input, single* output, int count)
{
    using dspIIRBlock::Join;
    using dspIIRBlock::Split;
    const int n = tapCount_;
    for (int j = 0; j <= n; ++j) {
        if (!Split(inputBuffer_[historyPos_ + j], inputSplit_[j]) ||
            !Split(outputBuffer_[historyPos_ + j], outputSplit_[j])) {
            return 0;
        }
    }
    const dspIIRBlock::TBlockCoefficients c{n, gainScale_, feedForwardDouble_.data(), feedBackSplit_.data()};
    int done = 0;
    int start = 0;
    while (count - done >= 2) {
        const int room = HistoryLength - (n + 1) - start;
        if (room < 2) {
            for (int j = 0; j <= n; ++j) {
                inputSplit_[j] = inputSplit_[start + j];
                outputSplit_[j] = outputSplit_[start + j];
            }
            start = 0;
            continue;
        }
        const int chunk = std::min(count - done, room);
        const int did = kernel_(input + done, output + done, chunk, &inputSplit_[start], &outputSplit_[start], c);
        done += did;
        start += did;
        if (did < chunk - chunk % 2) {
            break; // a value that is not a pair of doubles: the rest in extended
        }
    }
    for (int j = 0; j <= n; ++j) {
        inputBuffer_[j] = Join(inputSplit_[start + j]);
        outputBuffer_[j] = Join(outputSplit_[start + j]);
    }
    historyPos_ = 0;
    return done;
}

void TdspIIRFilter::ExtendedBlock(const std::int16_t* input, single* output, int count)
{
    const int n = tapCount_;
    const extended g = gainScale_;
    const extended* ff = feedForward_.data();
    const extended* fb = feedBack_.data();
    int k = 0;
    // Two samples at a time: the second sample's sum runs alongside the first
    // and needs the first's output only for its last tap.
    for (; k + 1 < count; k += 2) {
        ReserveHistory(2);
        const int p = historyPos_ + 1;
        extended* in = &inputBuffer_[p];
        extended* out = &outputBuffer_[p];
        extended t0 = static_cast<extended>(input[k]) * g;
        extended t1 = static_cast<extended>(input[k + 1]) * g;
        in[n] = t0;
        in[n + 1] = t1;
        for (int i = 0; i < n - 1; ++i) {
            t0 = (in[i] * ff[i] + t0) + out[i] * fb[i];
            t1 = (in[i + 1] * ff[i] + t1) + out[i + 1] * fb[i];
        }
        t0 = (in[n - 1] * ff[n - 1] + t0) + out[n - 1] * fb[n - 1];
        out[n] = t0;
        t1 = (in[n] * ff[n - 1] + t1) + t0 * fb[n - 1];
        out[n + 1] = t1;
        historyPos_ = p + 1;
        output[k] = static_cast<single>(t0);
        output[k + 1] = static_cast<single>(t1);
    }
    if (k < count) {
        output[k] = static_cast<single>(IIRStep(static_cast<extended>(input[k])));
    }
}

void TdspIIRFilter::ZeroBlock(const std::int16_t* /*input*/, single* output, int count)
{
    for (int k = 0; k < count; ++k) {
        output[k] = 0.0f;
    }
}

void TdspIIRFilter::PassBlock(const std::int16_t* input, single* output, int count)
{
    for (int k = 0; k < count; ++k) {
        output[k] = static_cast<single>(input[k]);
    }
}
