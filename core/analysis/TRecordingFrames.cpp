#include "core/analysis/TRecordingFrames.h"

#include "core/analysis/TRecordingAnalysis.h"

#include <algorithm>
#include <memory>

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

TFramedRecording AnalyseFramedRecording(const TSampleBlock& recording)
{
    // The workspace is large: on the heap, for this one recording.
    const auto analysis = std::make_unique<TRecordingAnalysis>();
    analysis->SetKeepFrames(true);
    analysis->Recording = recording;
    analysis->Verdict = CheckWavHeader(recording);
    analysis->AnalyseSamples();

    TFramedRecording framed;
    framed.Recording = recording;
    framed.Verdict = analysis->Verdict;
    framed.Spectrum.Scale = analysis->SpectrumScale;
    framed.Spectrum.Codes = analysis->BandCodes;
    BandFromCodes(framed.Spectrum.Codes, framed.Spectrum.Scale, framed.Spectrum.Values);
    framed.Frames = analysis->Frames();
    return framed;
}

TFramedRecording AnalyseFramedRecording(const std::string& wavPath, TFileKinds kinds)
{
    return AnalyseFramedRecording(ReadSampleBlock(wavPath, kinds));
}
