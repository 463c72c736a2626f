#pragma once

#include "core/analysis/SpmFile.h"
#include "core/analysis/TSampleBlock.h"
#include "core/analysis/WavHeader.h"
#include "core/base/AnalysisConstants.h"
#include "dsp/dspTypes.h"

#include <array>
#include <string>

// Samples from the start of one frame to the start of the next, and the
// frames' times in milliseconds: frame k starts at sample 1024 k, that is at
// 20 k ms, and covers 2048 samples, 40 ms.
inline constexpr int FrameStepSamples = FrameLength / 2;
inline constexpr int FrameStepMs = FrameStepSamples * 1000 / SampleRateHz;
inline constexpr int FrameDurationMs = FrameLength * 1000 / SampleRateHz;
// Milliseconds the sample block covers, rounded up to a whole frame step: 320.
inline constexpr int RecordingSpanMs = (AveragedFrames + 1) * FrameStepMs;
static_assert(FrameStepSamples * 1000 % SampleRateHz == 0 && FrameDurationMs == 2 * FrameStepMs);

// Start of frame k (0..14) in milliseconds from the first sample.
constexpr int FrameStartMs(int frame) { return frame * FrameStepMs; }

// The 15 frames behind a recording's spectrum, on the spectrum's own scale:
//
//   F[k][i] = 15 m[k][i]^2 / (2048 P), rounded to single,
//
// where m[k][i] is frame k's magnitude at band line i (the value the analysis
// adds into its line sum) and 1 / P the reciprocal of the power sum that the
// analysis multiplies its lines by (rounded to single, as it uses it). So
// (mean over k of sqrt F[k][i])^2 is the spectrum's value at line i, up to
// the roundings of the analysis's single sums, and a steady recording's frames
// scatter around its spectrum while a short event stands out in the frames
// that hold it. A plain copyable value (about 21 KB).
struct TRecordingFrames {
    // Values[k][i]: frame k at band line i (1000 + 25 i Hz).
    std::array<TBandValues, AveragedFrames> Values{};

    // Per line the largest value of any frame: the max-hold spectrum, on the
    // same scale as the spectrum (never below it).
    TBandValues MaxHold() const;

    // The max-hold spectrum as a spectrum file would hold it: quantised by
    // QuantiseBand (its largest line code 10000) and its values formed back
    // from the codes (BandFromCodes), so that it is read, compared and drawn
    // as any spectrum file is. Raises EInvalidOp for a band of zeros.
    TSpectrum MaxHoldSpectrum() const;
};

// One frame's value at a line from its magnitude and the reciprocal of the
// power sum: (single)(15 m^2 / 2048 x reciprocal), formed in extended.
single FrameValue(single magnitude, single reciprocal);

// A recording with what its time view shows: the samples, the header check,
// the spectrum file the batch would write for it and the frames behind that
// spectrum.
struct TFramedRecording {
    TSampleBlock Recording;
    TWavHeaderVerdict Verdict;
    // Scale and codes as the spectrum file holds them, and the values formed
    // back from them (as ReadSpectrum gives them).
    TSpectrum Spectrum;
    TRecordingFrames Frames;
};

// Analyses a recording's sample block as the batch does, keeping its frames;
// reads and writes nothing. A recording whose header check fails is analysed
// as raw samples, as the batch does (Verdict tells). Raises what the analysis
// raises (EMathError: a silent recording, say).
TFramedRecording AnalyseFramedRecording(const TSampleBlock& recording);

// AnalyseFramedRecording of the recording wavPath, read as ReadSampleBlock
// reads it (kinds deciding whether a pipe or device may be read); raises what
// that raises too.
TFramedRecording AnalyseFramedRecording(const std::string& wavPath, TFileKinds kinds = TFileKinds::RegularOnly);
