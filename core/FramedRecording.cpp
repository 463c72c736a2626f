#include "core/FramedRecording.h"

#include "core/TRecordingAnalysis.h"

#include <memory>

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
