#pragma once

#include "core/SpmFile.h"
#include "core/TDataFile.h"
#include "core/TRecordingFrames.h"
#include "core/TSampleBlock.h"
#include "core/WavHeader.h"

#include <string>

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
