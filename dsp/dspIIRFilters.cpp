#include "dsp/dspIIRFilters.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

TdspCustomIIRFilter::TdspCustomIIRFilter(TComponent* owner) : TComponent(owner)
{
    BindSteps(&TdspCustomIIRFilter::PassStep, &TdspCustomIIRFilter::PassBlock);
    FSampleRate = 44100.0L;
    FFrequency1 = 300.0L;
    FFrequency2 = 3000.0L;
    FOrder = 1;
    Redesign();
}

void TdspCustomIIRFilter::SetKind(int value)
{
    if (value != FKind && value >= fkButterworth && value <= fkBessel) {
        FKind = static_cast<TdspIIRFilterKind>(value);
        Redesign();
    }
}

void TdspCustomIIRFilter::SetResponse(int value)
{
    if (value != FResponse && value >= ftLowpass && value <= ftBandstop) {
        FResponse = static_cast<TdspIIRFilterResponse>(value);
        Redesign();
    }
}

void TdspCustomIIRFilter::SetOrder(int value)
{
    if (value != FOrder && value >= 1 && value <= 8) {
        FOrder = value;
        Redesign();
    }
}

extended TdspCustomIIRFilter::Frequency(int index) const
{
    if (index == 1) {
        return FFrequency1;
    }
    return (FResponse == ftBandpass || FResponse == ftBandstop) ? FFrequency2 : FFrequency1;
}

void TdspCustomIIRFilter::SetFrequency(int index, extended hz)
{
    // min(hz, limit) then max(1e-10, .); a NaN ends at the upper limit.
    const extended limit = FSampleRate / 2.0L - 0.0001L;
    const extended lowered = hz < limit ? hz : limit;
    const extended value = 1e-10L > lowered ? 1e-10L : lowered;
    extended& field = index == 1 ? FFrequency1 : FFrequency2;
    if (value != field) {
        field = value;
        Redesign();
    }
}

void TdspCustomIIRFilter::SetSampleRate(extended hz)
{
    if (hz != FSampleRate && hz > 0) {
        FSampleRate = hz;
        const extended limit = FSampleRate / 2.0L - 0.0001L;
        FFrequency1 = FFrequency1 < limit ? FFrequency1 : limit;
        FFrequency2 = FFrequency2 < limit ? FFrequency2 : limit;
        Redesign();
    }
}

void TdspCustomIIRFilter::SetRipple(extended db)
{
    const extended value = std::fabs(db);
    if (std::isnan(value) || value == FRipple) {
        return;
    }
    FRipple = value;
    if (FKind == fkChebyshev) {
        Redesign();
    }
}

TdspCustomIIRFilter::THistory TdspCustomIIRFilter::InputHistory() const
{
    THistory h{};
    for (int j = 0; j <= FTapCount; ++j) {
        h[j] = FInputBuffer[FHistoryPos + j];
    }
    return h;
}

TdspCustomIIRFilter::THistory TdspCustomIIRFilter::OutputHistory() const
{
    THistory h{};
    for (int j = 0; j <= FTapCount; ++j) {
        h[j] = FOutputBuffer[FHistoryPos + j];
    }
    return h;
}

void TdspCustomIIRFilter::ResetHistory()
{
    FInputBuffer.fill(0.0L);
    FOutputBuffer.fill(0.0L);
    FHistoryPos = 0;
}

void TdspCustomIIRFilter::BindSteps(TStep step, TBlock block)
{
    FStep = step;
    FBlock = block;
}

void TdspCustomIIRFilter::Redesign()
{
    // 1. Normalised edge frequencies, raised to a floor that grows with the order.
    const extended minEdge = static_cast<extended>(FOrder) * 0.0001L;
    const extended r1 = FFrequency1 / FSampleRate;
    const extended r2 = FFrequency2 / FSampleRate;
    const extended alpha1 = r1 > minEdge ? r1 : minEdge;
    extended alpha2 = r2 > minEdge ? r2 : minEdge;
    if (FResponse == ftLowpass || FResponse == ftHighpass) {
        alpha2 = alpha1;
    }

    // 2.-4. Prototype poles.
    ClearPoleZeroSet(FAnalogPZ);
    ClearPoleZeroSet(FDigitalPZ);
    if (FKind == fkBessel) {
        AddBesselPoles(FAnalogPZ, FOrder);
    } else {
        AddButterworthPoles(FAnalogPZ, FOrder);
        if (FKind == fkChebyshev) {
            ApplyChebyshevRipple(FAnalogPZ, FOrder, FRipple, FErrorText);
        }
    }

    // 5.-7. Prewarped edges, response transformation, bilinear map.
    const extended w1 = 2.0L * std::tan(ExtendedPi * alpha1);
    const extended w2 = 2.0L * std::tan(ExtendedPi * alpha2);
    TransformResponse(FAnalogPZ, FResponse, FOrder, w1, w2);
    MapToDigital(FAnalogPZ, FDigitalPZ);

    // 8. Length and cleared state.
    const int n = FDigitalPZ.NumPoles;
    FTapCount = n;
    ResetHistory();

    // 9. The recurrence from the two polynomials.
    TPolynomial top;
    TPolynomial bot;
    PolyFromRoots(FDigitalPZ.Zeros.data(), n, top, FErrorText);
    PolyFromRoots(FDigitalPZ.Poles.data(), n, bot, FErrorText);
    const auto responseAt = [&](TComplex z) { return CxDiv(PolyValue(top, n, z), PolyValue(bot, n, z)); };
    const TComplex dc = responseAt(CxMake(1.0L, 0.0L));
    const TComplex fc = responseAt(CxCis(ExtendedPi * (alpha1 + alpha2)));
    const TComplex hf = responseAt(CxMake(-1.0L, 0.0L));
    FFeedForward.fill(0.0L);
    FFeedBack.fill(0.0L);
    for (int i = 0; i < n; ++i) {
        FFeedForward[i] = top[i].Re / bot[n].Re;
        FFeedBack[i] = -(bot[i].Re / bot[n].Re);
    }

    // 10. Gain normalisation at DC, Nyquist, the band's mean edge, or both ends.
    TComplex g = dc;
    switch (FResponse) {
    case ftLowpass:
        g = dc;
        break;
    case ftHighpass:
        g = hf;
        break;
    case ftBandpass:
        g = fc;
        break;
    case ftBandstop:
        g = CxSqrt(CxMul(dc, hf));
        break;
    }
    FGainScale = 1.0L / CxAbs(g);

    // 11. The per-sample step; a band whose two edges coincide passes nothing
    // (band-pass) or everything (band-stop).
    BindSteps(&TdspCustomIIRFilter::IIRStep, &TdspCustomIIRFilter::IIRBlock);
    if (alpha1 == alpha2) {
        if (FResponse == ftBandpass) {
            BindSteps(&TdspCustomIIRFilter::ZeroStep, &TdspCustomIIRFilter::ZeroBlock);
        } else if (FResponse == ftBandstop) {
            BindSteps(&TdspCustomIIRFilter::PassStep, &TdspCustomIIRFilter::PassBlock);
        }
    }

    FKernel = nullptr;
    if (FStep == &TdspCustomIIRFilter::IIRStep) {
        FKernel = dspIIRBlock::ChooseKernel(n, FGainScale, FFeedForward.data(), FFeedBack.data());
        for (int i = 0; i < n && FKernel != nullptr; ++i) {
            FFeedForwardDouble[i] = static_cast<double>(FFeedForward[i]);
            dspIIRBlock::Split(FFeedBack[i], FFeedBackSplit[i]);
        }
    }

    // A degenerate design (for instance an analog pole cancelled to 0, which
    // puts a digital pole on the unit circle at z = 1 and makes the response at
    // DC 0/0) leaves infinities or NaNs in a gain or the coefficients. Say so
    // rather than filter silently with them.
    const auto finiteGain = [](TComplex z) { return std::isfinite(z.Re) && std::isfinite(z.Im); };
    bool finite = std::isfinite(FGainScale) && finiteGain(dc) && finiteGain(fc) && finiteGain(hf);
    for (int i = 0; i < n; ++i) {
        finite = finite && std::isfinite(FFeedForward[i]) && std::isfinite(FFeedBack[i]);
    }
    if (!finite) {
        char text[128];
        std::snprintf(text, sizeof text, "Filter design error: gain or coefficients not finite; GainScale=%Lg", FGainScale);
        FErrorText = text;
    }
}

void TdspCustomIIRFilter::ReserveHistory(int samples)
{
    const int n = FTapCount;
    if (FHistoryPos + n + samples < HistoryLength) {
        return;
    }
    for (int j = 0; j <= n; ++j) {
        FInputBuffer[j] = FInputBuffer[FHistoryPos + j];
        FOutputBuffer[j] = FOutputBuffer[FHistoryPos + j];
    }
    FHistoryPos = 0;
}

extended TdspCustomIIRFilter::IIRStep(extended x)
{
    const int n = FTapCount;
    ReserveHistory(1);
    const int p = ++FHistoryPos;
    extended* in = &FInputBuffer[p];
    extended* out = &FOutputBuffer[p];
    const extended* ff = FFeedForward.data();
    const extended* fb = FFeedBack.data();
    extended t = x * FGainScale;
    in[n] = t;
    for (int i = 0; i < n; ++i) {
        t = (in[i] * ff[i] + t) + out[i] * fb[i];
    }
    out[n] = t;
    return t;
}

extended TdspCustomIIRFilter::ZeroStep(extended /*x*/) { return 0.0L; }

extended TdspCustomIIRFilter::PassStep(extended x) { return x; }

void TdspCustomIIRFilter::IIRBlock(const std::int16_t* input, single* output, int count)
{
    const int done = FKernel != nullptr ? SplitBlock(input, output, count) : 0;
    ExtendedBlock(input + done, output + done, count - done);
}

int TdspCustomIIRFilter::SplitBlock(const std::int16_t* input, single* output, int count)
{
    using dspIIRBlock::Join;
    using dspIIRBlock::Split;
    const int n = FTapCount;
    for (int j = 0; j <= n; ++j) {
        if (!Split(FInputBuffer[FHistoryPos + j], FInputSplit[j]) ||
            !Split(FOutputBuffer[FHistoryPos + j], FOutputSplit[j])) {
            return 0;
        }
    }
    const dspIIRBlock::TBlockCoefficients c{n, FGainScale, FFeedForwardDouble.data(), FFeedBackSplit.data()};
    int done = 0;
    int start = 0;
    while (count - done >= 2) {
        const int room = HistoryLength - (n + 1) - start;
        if (room < 2) {
            for (int j = 0; j <= n; ++j) {
                FInputSplit[j] = FInputSplit[start + j];
                FOutputSplit[j] = FOutputSplit[start + j];
            }
            start = 0;
            continue;
        }
        const int chunk = std::min(count - done, room);
        const int did = FKernel(input + done, output + done, chunk, &FInputSplit[start], &FOutputSplit[start], c);
        done += did;
        start += did;
        if (did < chunk - chunk % 2) {
            break; // a value that is not a pair of doubles: the rest in extended
        }
    }
    for (int j = 0; j <= n; ++j) {
        FInputBuffer[j] = Join(FInputSplit[start + j]);
        FOutputBuffer[j] = Join(FOutputSplit[start + j]);
    }
    FHistoryPos = 0;
    return done;
}

void TdspCustomIIRFilter::ExtendedBlock(const std::int16_t* input, single* output, int count)
{
    const int n = FTapCount;
    const extended g = FGainScale;
    const extended* ff = FFeedForward.data();
    const extended* fb = FFeedBack.data();
    int k = 0;
    // Two samples at a time: the second sample's sum runs alongside the first
    // and needs the first's output only for its last tap.
    for (; k + 1 < count; k += 2) {
        ReserveHistory(2);
        const int p = FHistoryPos + 1;
        extended* in = &FInputBuffer[p];
        extended* out = &FOutputBuffer[p];
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
        FHistoryPos = p + 1;
        output[k] = static_cast<single>(t0);
        output[k + 1] = static_cast<single>(t1);
    }
    if (k < count) {
        output[k] = static_cast<single>(IIRStep(static_cast<extended>(input[k])));
    }
}

void TdspCustomIIRFilter::ZeroBlock(const std::int16_t* /*input*/, single* output, int count)
{
    for (int k = 0; k < count; ++k) {
        output[k] = 0.0f;
    }
}

void TdspCustomIIRFilter::PassBlock(const std::int16_t* input, single* output, int count)
{
    for (int k = 0; k < count; ++k) {
        output[k] = static_cast<single>(input[k]);
    }
}

TdspIIRFilter::TdspIIRFilter(TComponent* owner) : TdspCustomIIRFilter(owner) {}

TdspIIRFilter::TdspIIRFilter(TComponent* owner, const TdspIIRFilterProperties& stored) : TdspCustomIIRFilter(owner)
{
    SetKind(stored.Kind);
    SetResponse(stored.Response);
    SetOrder(stored.Order);
    SetFrequency1(stored.Frequency1);
    SetFrequency2(stored.Frequency2);
    SetSampleRate(stored.SampleRate);
    SetRipple(stored.Ripple);
}
