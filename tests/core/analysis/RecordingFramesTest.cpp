// The frames behind a spectrum: over the whole reference set they recombine
// into the analysis's band and the spectrum file's codes, and keeping them
// leaves the spectrum's bytes as they are; a short burst stands out in the
// frame that holds it.

#include "tests/support/ReferenceRecordings.h"

#include "core/analysis/TRecordingAnalysis.h"
#include "core/analysis/TRecordingFrames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace testsupport;

namespace {

TSampleBlock BlockOf(const TSamples& samples)
{
    TSampleBlock block;
    std::copy(samples.begin(), samples.end(), block.Samples.begin());
    return block;
}

TEST(RecordingFrames, RecombineIntoTheSpectrumOverTheReferenceSet)
{
    auto batch = std::make_unique<TRecordingAnalysis>();
    auto framed = std::make_unique<TRecordingAnalysis>();
    framed->SetKeepFrames(true);
    double worst = 0;
    for (const TReferenceRecording& recording : ReferenceRecordings()) {
        SCOPED_TRACE(recording.Name);
        batch->Recording = framed->Recording = BlockOf(recording.Samples);
        batch->AnalyseSamples();
        framed->AnalyseSamples();
        // Keeping the frames changes no byte of the spectrum file.
        ASSERT_EQ(SpectrumFileImage(framed->SpectrumScale, framed->BandCodes),
                  SpectrumFileImage(batch->SpectrumScale, batch->BandCodes));

        const TRecordingFrames& frames = framed->Frames();
        const TBandValues hold = frames.MaxHold();
        int badCodes = 0;
        int belowBand = 0;
        for (int i = 0; i < SpectrumLines; ++i) {
            long double sum = 0;
            for (const TBandValues& frame : frames.Values) {
                sum += std::sqrt(static_cast<long double>(frame[i]));
            }
            const long double recombined = (sum / AveragedFrames) * (sum / AveragedFrames);
            const long double band = batch->Band[i];
            if (band > 0) {
                worst = std::max(worst, static_cast<double>(std::fabs(recombined - band) / band));
            }
            badCodes += std::fabs(std::nearbyint(recombined / batch->SpectrumScale) - batch->BandCodes[i]) > 1;
            belowBand += hold[i] < batch->Band[i];
        }
        EXPECT_EQ(badCodes, 0);
        EXPECT_EQ(belowBand, 0) << "the max-hold spectrum lies below the average";
    }
    // The band's own roundings bound the agreement: its line sum rounds to single after each of
    // 14 additions (at most 2^-24 of the sum each, and alike when equal magnitudes are added, as
    // after a sine's filter start), doubled by the square, and three single stores (the band's
    // two, a frame's halved by its root) add theirs: 31 x 2^-24, 1.85e-6. The worst line of the
    // set, a sine's, comes to 1.51e-6.
    EXPECT_LE(worst, 31 * std::ldexp(1.0, -24));
}

// Noise of about 290 counts RMS with a 5 ms burst of 6 kHz at 200 ms: the
// frame from 180 to 220 ms holds the burst in the middle of its window.
TEST(RecordingFrames, BurstStandsOutInTheFrameThatHoldsIt)
{
    const TFramedRecording framed = AnalyseFramedRecording(BlockOf(BurstInNoiseSamples()));
    constexpr int line = (6000 - BandStartHz) / BandStepHz;
    int loudest = 0;
    for (int k = 1; k < AveragedFrames; ++k) {
        if (framed.Frames.Values[k][line] > framed.Frames.Values[loudest][line]) {
            loudest = k;
        }
    }
    EXPECT_EQ(FrameStartMs(loudest), 180);
    const double aboveDb =
        10 * std::log10(framed.Frames.Values[loudest][line] / static_cast<double>(framed.Spectrum.Values[line]));
    EXPECT_GT(aboveDb, 8.0);
    // The max-hold spectrum as a spectrum file would hold it peaks there too.
    const TSpectrum hold = framed.Frames.MaxHoldSpectrum();
    EXPECT_EQ(hold.Codes[line], TopCode);
    EXPECT_NEAR(hold.Values[line], framed.Frames.Values[loudest][line], 1e-4 * hold.Values[line]);
}

} // namespace
