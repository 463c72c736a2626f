#include "core/TRecordingFrames.h"

#include <algorithm>

TBandValues TRecordingFrames::MaxHold() const
{
    TBandValues hold = Values.front();
    for (const TBandValues& frame : Values) {
        for (int i = 0; i < SpectrumLines; ++i) {
            hold[i] = std::max(hold[i], frame[i]);
        }
    }
    return hold;
}

TSpectrum TRecordingFrames::MaxHoldSpectrum() const
{
    TSpectrum spectrum;
    spectrum.Scale = QuantiseBand(MaxHold(), spectrum.Codes);
    BandFromCodes(spectrum.Codes, spectrum.Scale, spectrum.Values);
    return spectrum;
}

single FrameValue(single magnitude, single reciprocal)
{
    // The square of a single and the factor 15 / 2048 are exact in extended;
    // the product with the reciprocal is the one rounding before single.
    const extended m = magnitude;
    constexpr extended framesOverLength = static_cast<extended>(AveragedFrames) / FrameLength;
    return static_cast<single>(m * m * framesOverLength * reciprocal);
}
