#include "core/RecordingAnalysis.h"

#include "core/FloatFaults.h"
#include "dsp/dspBlockDivide.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <sys/stat.h>

namespace {

const TdspIIRFilterProperties BandPassProperties{
    fkButterworth, ftBandpass, 8, 1000.0L, 10000.0L, static_cast<extended>(SampleRateHz), 0.0L};

const TdspFFTProperties FrameFFTProperties{11, FrameLength, fwParzen};

// True when both paths name one existing file (hard link, symbolic link, or
// a file system that ignores case).
bool SameExistingFile(const std::string& a, const std::string& b)
{
    struct stat infoA {};
    struct stat infoB {};
    return ::stat(a.c_str(), &infoA) == 0 && ::stat(b.c_str(), &infoB) == 0 &&
           infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

} // namespace

TRecordingAnalysis::TRecordingAnalysis()
    : dspF1(nullptr, BandPassProperties), dspFFT1(nullptr, FrameFFTProperties)
{
}

void TRecordingAnalysis::ReadSampleBlock(const std::string& wavPath)
{
    CurrentFileName = wavPath;
    DataFile.Bind(wavPath);
    try {
        DataFile.Reset();
        DataFile.BlockRead(WavHeader.data(), sizeof(WavHeader));
        DataFile.BlockRead(Samples.data(), sizeof(Samples));
        DataFile.Close();
    } catch (...) {
        DataFile.Abandon();
        throw;
    }
}

void TRecordingAnalysis::ReadSpectrumFile(const std::string& spmPath)
{
    CurrentFileName = spmPath;
    ::ReadSpectrumFile(DataFile, spmPath, SpectrumScale, BandCodes);
    BandFromCodes(BandCodes, SpectrumScale, Band);
}

void TRecordingAnalysis::FilterRecording()
{
    ClearFloatFaults();
    dspF1.ResetHistory();
    // Bit for bit Filtered[i] = (single)FilterSample((extended)Samples[i]).
    dspF1.FilterBlock(Samples.data(), Filtered.data(), SampleCount);
    SumSquares = 0;
    for (const single value : Filtered) {
        const extended x = value;
        SumSquares += x * x;
    }
    RaiseFloatFaults();

    Rms = std::sqrt(SumSquares / static_cast<extended>(SampleCount - 1));
    // Bit for bit value = (single)((extended)value / Rms).
    BlockDivide(Filtered.data(), SampleCount, Rms);
    RaiseFloatFaults();
}

void TRecordingAnalysis::RunFFT()
{
    dspFFT1.Transform();
    dspFFT1.Magnitude();
}

void TRecordingAnalysis::AverageSpectrum()
{
    const int frameLength = dspFFT1.BufferSize();
    const int halfSize = dspFFT1.HalfSize();
    FrameCount = AveragedFrames;
    if (halfSize > SpectrumHalfSize || (FrameCount + 1) * (frameLength / 2) > SampleCount) {
        throw std::logic_error("the FFT length does not fit the sample block");
    }

    ClearFloatFaults();
    std::fill_n(AvgSpectrum.begin(), halfSize, 0.0f);
    single* inReal = dspFFT1.InReal();
    single* inImag = dspFFT1.InImag();
    const single* outReal = dspFFT1.OutReal();
    for (int frame = 0; frame < FrameCount; ++frame) {
        std::copy_n(Filtered.begin() + frame * (frameLength / 2), frameLength, inReal);
        std::fill_n(inImag, frameLength, 0.0f);
        RunFFT();
        // A sum of two singles rounded to extended and then to single is the
        // sum rounded once to single (64 >= 2*24 + 2 bits): the single addition.
        single* sum = AvgSpectrum.data();
        for (int k = 0; k < halfSize; ++k) {
            sum[k] = sum[k] + outReal[k];
        }
    }
    RaiseFloatFaults();

    // The square is of the summed magnitudes, formed and divided in extended;
    // the power sum weighs each line by its width.
    const single lineWidth = static_cast<single>(static_cast<extended>(SampleRateHz) / frameLength);
    const extended divisor = frameLength * FrameCount;
    single power = 0;
    for (int k = 0; k < halfSize; ++k) {
        const extended sum = AvgSpectrum[k];
        AvgSpectrum[k] = static_cast<single>(sum * sum / divisor);
        power = static_cast<single>(power + static_cast<extended>(AvgSpectrum[k]) * lineWidth);
    }
    KeepBeforeFlagTest(power);
    RaiseFloatFaults();

    single reciprocal = static_cast<single>(1.0L / power);
    KeepBeforeFlagTest(reciprocal);
    RaiseFloatFaults();

    for (int k = 0; k < halfSize; ++k) {
        AvgSpectrum[k] = static_cast<single>(static_cast<extended>(AvgSpectrum[k]) * reciprocal);
    }
    RaiseFloatFaults();
}

void TRecordingAnalysis::TakeBand()
{
    std::copy_n(AvgSpectrum.begin() + FirstBandLine, SpectrumLines, Band.begin());
}

int TRecordingAnalysis::PeakLine() const
{
    int peak = 0;
    extended maximum = 0;
    for (int i = 0; i < SpectrumLines; ++i) {
        if (static_cast<extended>(Band[i]) > maximum) {
            maximum = Band[i];
            peak = i;
        }
    }
    return peak;
}

std::string TRecordingAnalysis::AnalyseRecording(const std::string& wavPath)
{
    // Refused before it is even read, so that the outcome never depends on
    // what an earlier recording of the list wrote.
    std::string spmPath = SpectrumFileName(wavPath);
    if (spmPath == wavPath || SameExistingFile(spmPath, wavPath)) {
        CurrentFileName = wavPath;
        throw EInOutError(IoCode::AccessDenied);
    }
    ReadSampleBlock(wavPath);
    FilterRecording();
    AverageSpectrum();
    TakeBand();
    SpectrumScale = QuantiseBand(Band, BandCodes);
    return spmPath;
}

void TRecordingAnalysis::WriteSpectrum(const std::string& spmPath)
{
    CurrentFileName = spmPath;
    SpectrumWriter.Write(DataFile, spmPath, SpectrumScale, BandCodes);
}

void TRecordingAnalysis::ProcessRecording(const std::string& wavPath)
{
    try {
        WriteSpectrum(AnalyseRecording(wavPath));
    } catch (...) {
        SpectrumWriter.Release();
        throw;
    }
    SpectrumWriter.Release();
}
