#include "core/analysis/TRecordingAnalysis.h"

#include "core/base/FloatFaults.h"
#include "core/base/TulvoErrors.h"
#include "core/platform/FileStatus.h"
#include "dsp/dspBlockDivide.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

const TdspIIRFilterProperties BandPassProperties{
    fkButterworth, ftBandpass, 8, 1000.0L, 10000.0L, static_cast<extended>(SampleRateHz), 0.0L};

const TdspFFTProperties FrameFftProperties{11, FrameLength, fwParzen};

} // namespace

TRecordingAnalysis::TRecordingAnalysis() : BandPass(BandPassProperties), FrameFft(FrameFftProperties) {}

void TRecordingAnalysis::FilterRecording()
{
    ClearFloatFaults();
    BandPass.ResetHistory();
    // Bit for bit Filtered[i] = (single)FilterSample((extended)Recording.Samples[i]).
    BandPass.FilterBlock(Recording.Samples.data(), Filtered.data(), SampleCount);
    SumSquares = 0;
    for (const single value : Filtered) {
        const extended x = value;
        SumSquares += x * x;
    }
    RaiseFloatFaults();

    Rms = std::sqrt(SumSquares / static_cast<extended>(SampleCount - 1));
    // Bit for bit value = (single)((extended)value / Rms).
    BlockDivide(Filtered.data(), SampleCount, Rms);
    try {
        RaiseFloatFaults();
    } catch (const EInvalidOp&) {
        const auto& samples = Recording.Samples;
        if (std::all_of(samples.begin(), samples.end(), [](std::int16_t sample) { return sample == 0; })) {
            throw EInvalidOp(TInvalidOpCause::SilentRecording);
        }
        throw;
    }
}

void TRecordingAnalysis::RunFFT()
{
    FrameFft.Transform();
    FrameFft.Magnitude();
}

void TRecordingAnalysis::AverageSpectrum()
{
    const int frameLength = FrameFft.BufferSize();
    const int halfSize = FrameFft.HalfSize();
    FrameCount = AveragedFrames;
    if (halfSize > SpectrumHalfSize || (FrameCount + 1) * (frameLength / 2) > SampleCount) {
        throw std::logic_error("the FFT length does not fit the sample block");
    }
    if (frames_ && halfSize < FirstBandLine + SpectrumLines) {
        throw std::logic_error("the FFT length gives no frames of the band");
    }

    ClearFloatFaults();
    std::fill_n(AvgSpectrum.begin(), halfSize, 0.0f);
    single* inReal = FrameFft.InReal();
    single* inImag = FrameFft.InImag();
    const single* outReal = FrameFft.OutReal();
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
        if (frames_) {
            std::copy_n(outReal + FirstBandLine, SpectrumLines, frames_->Values[frame].begin());
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
    if (frames_) {
        for (TBandValues& frame : frames_->Values) {
            for (single& value : frame) {
                value = FrameValue(value, reciprocal);
            }
        }
    }
    RaiseFloatFaults();
}

void TRecordingAnalysis::SetKeepFrames(bool keep)
{
    if (!keep) {
        frames_.reset();
    } else if (!frames_) {
        frames_ = std::make_unique<TRecordingFrames>();
    }
}

const TRecordingFrames& TRecordingAnalysis::Frames() const
{
    if (!frames_) {
        throw std::logic_error("the analysis keeps no frames");
    }
    return *frames_;
}

void TRecordingAnalysis::TakeBand() { std::copy_n(AvgSpectrum.begin() + FirstBandLine, SpectrumLines, Band.begin()); }

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
    std::string spmPath = SpectrumFileName(wavPath);
    AnalyseRecording(wavPath, spmPath);
    return spmPath;
}

void TRecordingAnalysis::AnalyseRecording(const std::string& wavPath, const std::string& spmPath, TFileKinds kinds,
                                          TFormatPolicy policy)
{
    // Refused before it is even read, so that the outcome never depends on
    // what an earlier recording of the list wrote.
    if (spmPath == wavPath || Platform::SameExistingFile(spmPath, wavPath)) {
        throw EInOutError(IoCode::AccessDenied, wavPath);
    }
    Recording = ReadSampleBlock(wavPath, kinds);
    Verdict = CheckWavHeader(Recording);
    if (policy == TFormatPolicy::RefuseNonconform && !Verdict.Conforms) {
        throw ERecordingFormat(Verdict.Reason + " (expected " + ExpectedWavLayout() + ")");
    }
    AnalyseSamples();
}

void TRecordingAnalysis::AnalyseSamples()
{
    FilterRecording();
    AverageSpectrum();
    TakeBand();
    SpectrumScale = QuantiseBand(Band, BandCodes);
}

void TRecordingAnalysis::WriteSpectrum(const std::string& spmPath)
{
    writer_.Write(file_, spmPath, SpectrumScale, BandCodes);
}

void TRecordingAnalysis::ReleaseSpareFile() noexcept { writer_.Release(); }

void TRecordingAnalysis::ProcessRecording(const std::string& wavPath)
{
    try {
        WriteSpectrum(AnalyseRecording(wavPath));
    } catch (...) {
        ReleaseSpareFile();
        throw;
    }
    ReleaseSpareFile();
}
