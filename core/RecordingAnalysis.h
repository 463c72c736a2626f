#pragma once

#include "core/AnalysisConstants.h"
#include "core/SpmFile.h"
#include "core/TDataFile.h"
#include "core/TSpmFileWriter.h"
#include "dsp/TdspFFT.h"
#include "dsp/TdspIIRFilter.h"
#include "dsp/dspTypes.h"

#include <array>
#include <cstdint>
#include <string>

// The working storage of the batch analysis and its two components, reused
// for every recording: nothing is allocated per recording, per frame or per
// sample. The object is large (about 150 KB): hold one for the life of the
// program (the main window's unit), or one per worker thread; never create
// one per recording, and never use one from two threads at once.
//
// The analysis of one recording (ProcessRecording):
//   1. read the sample block: 44 header bytes into WavHeader, 16384 samples
//      into Samples;
//   2. filter every sample, from a cleared filter state, with dspF1 (an order
//      8 Butterworth band-pass, 1000..10000 Hz at 51200 Hz), each result
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
// operation": a silent recording, 0/0 in the normalisation; a band maximum of
// 0), EZeroDivide (a power sum of 0) or EOverflow. File failures raise
// EInOutError. Either ends the recording; DataFile is closed on every path.
class TRecordingAnalysis {
public:
    TRecordingAnalysis();
    TRecordingAnalysis(const TRecordingAnalysis&) = delete;
    TRecordingAnalysis& operator=(const TRecordingAnalysis&) = delete;

    // Path of the file being read or written: the recording, then its
    // spectrum file once that is written; a spectrum file being read.
    std::string CurrentFileName;
    // The one file variable for every read and write of this object.
    TDataFile DataFile;
    // Writes the spectrum files; keeps a spare file between the writes of a
    // series (see WriteSpectrum).
    TSpmFileWriter SpectrumWriter;
    // Header of the last recording read, never examined.
    std::array<std::uint8_t, WavHeaderSize> WavHeader{};
    // Sample block of the last recording read.
    std::array<std::int16_t, SampleCount> Samples{};
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
    // Quantised band (the codes of a spectrum file).
    TBandCodes BandCodes{};
    // Scale of the spectrum file last read, or last quantised by the analysis.
    extended SpectrumScale = 0;

    // The band-pass filter: Butterworth, band-pass, order 8, 1000 Hz to
    // 10000 Hz at 51200 Hz (set through its setters in that order).
    TdspIIRFilter dspF1;
    // The FFT: 2048 points (Power 11), Parzen (triangle) window.
    TdspFFT dspFFT1;

    // Reads the sample block of a recording: sets CurrentFileName, fills
    // WavHeader and Samples. Any file of at least 32812 bytes is accepted;
    // a shorter one raises 100 "Read beyond end of file".
    void ReadSampleBlock(const std::string& wavPath);

    // Reads a spectrum file: sets CurrentFileName, SpectrumScale, BandCodes,
    // and Band = codes x scale.
    void ReadSpectrumFile(const std::string& spmPath);

    // One batch step: reads the recording, analyses it and writes its
    // spectrum file (SpectrumFileName of the path). A recording whose
    // spectrum file would be the recording itself (a name ending in ".spm")
    // is refused with code 5 before anything is written. Throws on failure;
    // an older spectrum file of the failing recording is left as it was.
    // Leaves no spare file behind (RunBatch, which keeps one over the whole
    // series, is quicker for many recordings).
    void ProcessRecording(const std::string& wavPath);

    // ProcessRecording without the write: reads and analyses the recording,
    // leaving SpectrumScale and BandCodes as they would be written. Returns
    // the path the spectrum file is to be written to (refusing, like
    // ProcessRecording, a recording that is its own spectrum file).
    std::string AnalyseRecording(const std::string& wavPath);

    // Writes SpectrumScale and BandCodes as the spectrum file spmPath through
    // SpectrumWriter and DataFile; sets CurrentFileName to spmPath. The
    // writer's spare file stays for the next write of a series: call
    // SpectrumWriter.Release() after the last.
    void WriteSpectrum(const std::string& spmPath);

    // Steps 2 and 3 above, on Samples.
    void FilterRecording();

    // Fills AvgSpectrum from Filtered: 15 frames of 2048 samples, advanced by
    // 1024, through RunFFT; the magnitudes summed line by line (rounded to
    // single after each addition); each sum squared and divided by 30720 in
    // extended; s = the sum of the lines times 25 Hz (in single after each
    // addition); every line multiplied by r = 1/s (rounded to single).
    void AverageSpectrum();

    // Transform, then Magnitude, of dspFFT1.
    void RunFFT();

    // Band line of the largest value (the first of equals), as written with
    // code 10000.
    int PeakLine() const;

private:
    void TakeBand();
};
