#pragma once

#include "core/analysis/SpmFile.h"
#include "core/analysis/TRecordingFrames.h"
#include "core/analysis/TSampleBlock.h"
#include "core/analysis/TSpmFileWriter.h"
#include "core/analysis/WavHeader.h"
#include "core/base/AnalysisConstants.h"
#include "core/files/TDataFile.h"
#include "dsp/TdspFFT.h"
#include "dsp/TdspIIRFilter.h"
#include "dsp/dspTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What the analysis does with a recording whose header check fails.
enum class TFormatPolicy {
    AnalyseAsRaw,     // analyse its sample block as for any other (Verdict tells)
    RefuseNonconform, // raise ERecordingFormat before analysing it
};

// The batch's workspace: the buffers and the two signal-processing components
// that turn one recording after another into spectrum files. It is large
// (about 150 KB) and reused for every recording, so that nothing is allocated
// per recording, per frame or per sample. Hold one per batch worker thread
// (the windowed program's batch, each worker of RunBatchParallel); never
// create one per recording, never use one from two threads at once, and never
// use one just to read a file: ReadSampleBlock and ReadSpectrum do that.
//
// The analysis of one recording (ProcessRecording):
//   1. read the sample block into Recording (ReadSampleBlock);
//   2. filter every sample, from a cleared filter state, with BandPass (an
//      order 8 Butterworth band-pass, 1000..10000 Hz at 51200 Hz), each result
//      rounded to single into Filtered; SumSquares = the sum of the squares
//      of the stored singles, in extended, in sample order;
//   3. Rms = sqrt(SumSquares / 16383) in extended; Filtered[i] /= Rms in
//      extended, rounded to single;
//   4. AverageSpectrum: the normalised power spectrum in AvgSpectrum;
//   5. Band = AvgSpectrum lines 40..400 (1000..10000 Hz);
//   6. quantise (SpectrumScale, BandCodes) and write the spectrum file beside
//      the recording.
// Because each recording is filtered from a cleared state, its spectrum file
// depends on its own samples only, whatever was processed before it.
//
// Floating-point faults of a stage raise EInvalidOp ("Invalid floating point
// operation": a silent recording, 0/0 in the normalisation, with the cause
// SilentRecording; a band maximum of 0, with the cause EmptyBand),
// EZeroDivide (a power sum of 0) or EOverflow. File failures raise
// EInOutError. Either ends the recording; no file stays open.
class TRecordingAnalysis {
public:
    TRecordingAnalysis();
    TRecordingAnalysis(const TRecordingAnalysis&) = delete;
    TRecordingAnalysis& operator=(const TRecordingAnalysis&) = delete;

    // Header and samples of the last recording read.
    TSampleBlock Recording{};
    // The header check of the last recording read (CheckWavHeader).
    TWavHeaderVerdict Verdict{};
    // Filter output, then the signal normalised to unit RMS.
    std::array<single, SampleCount> Filtered{};
    // Sum of the squared filter outputs, and the RMS that normalises them.
    extended SumSquares = 0;
    extended Rms = 0;
    // Sum of the 15 frames' magnitudes, then the normalised power spectrum
    // (its 1024 lines times 25 Hz sum to 1).
    std::array<single, SpectrumHalfSize> AvgSpectrum{};
    // Frames averaged, 15.
    std::int32_t FrameCount = 0;
    // Spectrum values of the analysis band, line i at 1000 + 25 i Hz.
    TBandValues Band{};
    // The quantised band: the scale and codes of the spectrum file.
    TBandCodes BandCodes{};
    extended SpectrumScale = 0;

    // The band-pass filter: Butterworth, band-pass, order 8, 1000 Hz to
    // 10000 Hz at 51200 Hz (set through its setters in that order).
    TdspIIRFilter BandPass;
    // The frame transform: 2048 points (Power 11), Parzen (triangle) window.
    TdspFFT FrameFft;

    // One batch step: reads the recording, analyses it and writes its
    // spectrum file (SpectrumFileName of the path). A recording whose
    // spectrum file would be the recording itself (a name ending in ".spm")
    // is refused with code 5 before anything is written. Throws on failure;
    // an older spectrum file of the failing recording is left as it was.
    // Ends the writer's series (ReleaseSpareFile) either way.
    void ProcessRecording(const std::string& wavPath);

    // ProcessRecording without the write: reads and analyses the recording,
    // leaving SpectrumScale and BandCodes as they would be written. Returns
    // the path the spectrum file is to be written to (refusing, like
    // ProcessRecording, a recording that is its own spectrum file).
    std::string AnalyseRecording(const std::string& wavPath);

    // AnalyseRecording for a spectrum file spmPath of the caller's choosing
    // (the batch's output folder): refuses, with code 5 and before reading,
    // a spmPath that is the recording itself, and reads the recording as
    // kinds allows (a pipe or device only with AnyReadable). The header is
    // checked into Verdict once read; with RefuseNonconform a recording that
    // does not conform raises ERecordingFormat there.
    void AnalyseRecording(const std::string& wavPath, const std::string& spmPath,
                          TFileKinds kinds = TFileKinds::RegularOnly,
                          TFormatPolicy policy = TFormatPolicy::AnalyseAsRaw);

    // Writes SpectrumScale and BandCodes as the spectrum file spmPath (see
    // TSpmFileWriter). The writer remembers the folders of a series of
    // writes: call ReleaseSpareFile() after the last.
    void WriteSpectrum(const std::string& spmPath);

    // The distinct folders WriteSpectrum has written into in this series.
    const std::vector<std::string>& WrittenFolders() const noexcept { return writer_.Folders(); }

    // Ends a series of writes (TSpmFileWriter::Release): the writer forgets
    // its folders. Nothing stays on disk between writes. Never fails.
    void ReleaseSpareFile() noexcept;

    // Steps 2 to 5 and the quantisation of step 6 on the sample block in
    // Recording (read by the caller): FilterRecording, AverageSpectrum, Band,
    // SpectrumScale and BandCodes. Nothing is read or written.
    void AnalyseSamples();

    // Steps 2 and 3 above, on Recording.Samples.
    void FilterRecording();

    // Fills AvgSpectrum from Filtered: 15 frames of 2048 samples, advanced by
    // 1024, through RunFFT; the magnitudes summed line by line (rounded to
    // single after each addition); each sum squared and divided by 30720 in
    // extended; s = the sum of the lines times 25 Hz (in single after each
    // addition); every line multiplied by r = 1/s (rounded to single).
    void AverageSpectrum();

    // Transform, then Magnitude, of FrameFft.
    void RunFFT();

    // Band line of the largest value (the first of equals), as written with
    // code 10000.
    int PeakLine() const;

    // Whether AverageSpectrum keeps the 15 frames' band values (Frames).
    // Off unless asked: the batch keeps no frames and does no work for them.
    void SetKeepFrames(bool keep);
    bool KeepFrames() const noexcept { return frames_ != nullptr; }

    // The frames of the last AverageSpectrum run with KeepFrames on (see
    // TRecordingFrames): valid once it has finished without a fault. Only
    // while KeepFrames is on (std::logic_error otherwise).
    const TRecordingFrames& Frames() const;

private:
    void TakeBand();

    // The file and the writer of every spectrum file this object writes.
    TDataFile file_;
    TSpmFileWriter writer_;
    // Each frame's band magnitudes while AverageSpectrum runs, then their
    // values; held only while KeepFrames is on.
    std::unique_ptr<TRecordingFrames> frames_;
};
