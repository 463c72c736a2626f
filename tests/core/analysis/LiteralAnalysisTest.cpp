// The whole analysis of a recording computed a second time, slowly and word
// for word, and compared with the spectrum file that ProcessRecording writes,
// byte for byte.
//
// The production path is fast: block filtering in split doubles over
// interleaved samples, an FFT in doubles with extended fallbacks and vector
// dispatch. The reference below is its plain definition instead: the filter
// recurrence with shifting histories, the triangle window, the twiddle
// tables and their running-factor recurrence, the bit reversal and the
// butterflies (the project's one reference FFT, shared with the FFT's own
// tests), all in long double (extended) and rounded to float (single)
// exactly where the analysis stores a value. Only the filter design (its
// coefficients, gain scale and length) is taken from the component; the
// design has its own tests.

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/ReferenceFFT.h"
#include "tests/support/TTempFolder.h"

#include "core/analysis/TRecordingAnalysis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>
#include <tuple>
#include <vector>

using namespace testsupport;

namespace {

// ---------------------------------------------------------------------------
// The literal reference
// ---------------------------------------------------------------------------

constexpr int N = 2048;         // FFT length
constexpr int HalfSize = N / 2; // magnitude lines
constexpr int Frames = 15;      // frames of N, advanced by N / 2
constexpr int BandFirst = 40;   // line of 1000 Hz
constexpr int BandLines = 361;  // 1000..10000 Hz
constexpr int Samples = 16384;

// The 16-pole band-pass of the main window: Butterworth, order 8, 1000 Hz to
// 10000 Hz at 51200 Hz, designed through the setters in the stored order.
const TdspIIRFilter& MainWindowFilterDesign()
{
    static const TdspIIRFilter design({fkButterworth, ftBandpass, 8, 1000.0L, 10000.0L, 51200.0L, 0.0L});
    return design;
}

// IIRStep with its two histories, entry n the newest, shifted by one entry per
// sample. A new object starts from a cleared state.
class TLiteralFilter {
public:
    explicit TLiteralFilter(const TdspIIRFilter& design)
        : n_(design.TapCount()), g_(design.GainScale()), feedForward_(design.FeedForward()),
          feedBack_(design.FeedBack())
    {}

    extended Step(extended x)
    {
        for (int i = 0; i < n_; ++i) {
            inputHistory_[i] = inputHistory_[i + 1];
            outputHistory_[i] = outputHistory_[i + 1];
        }
        extended t = x * g_;
        inputHistory_[n_] = t;
        for (int i = 0; i < n_; ++i) {
            t = (inputHistory_[i] * feedForward_[i] + t) + outputHistory_[i] * feedBack_[i];
        }
        outputHistory_[n_] = t;
        return t;
    }

private:
    int n_;
    extended g_;
    std::array<extended, 33> feedForward_, feedBack_;
    std::array<extended, 33> inputHistory_{}, outputHistory_{};
};

// The FFT component at N = 2048 with the triangle window, forward direction:
// the window weights InReal in place, then the reference transform and
// magnitude run on the weighted frame.
class TLiteralFFT {
public:
    std::vector<single> InReal = std::vector<single>(N), InImag = std::vector<single>(N);
    TReferenceFrame Out;

    TLiteralFFT()
    {
        for (int i = 0; i < N; ++i) {
            const extended q = static_cast<extended>(2 * i - N) / static_cast<extended>(N + 1);
            windowTable_[i] = static_cast<single>(1.0L - std::fabs(q));
        }
    }

    void Transform()
    {
        for (int i = 0; i < N; ++i) {
            InReal[i] = static_cast<single>(static_cast<extended>(InReal[i]) * windowTable_[i]);
        }
        Out = ReferenceTransform(InReal, InImag, +1);
    }

    std::vector<single> Magnitude() const { return ReferenceMagnitude(Out); }

private:
    std::array<single, N> windowTable_{};
};

// Nearest integer, a value halfway between two going to the even one.
extended RoundHalfEven(extended v)
{
    extended r = std::floor(v);
    const extended fraction = v - r;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(r, 2.0L) != 0)) {
        r += 1;
    }
    return r;
}

// Every stage's result, kept so that a mismatch can be traced to its stage.
struct TLiteralResult {
    std::vector<single> Raw; // filter output, rounded to single
    extended SumSquares = 0;
    extended Rms = 0;
    std::vector<single> Normalised; // Raw / Rms
    std::vector<single> Spectrum;   // normalised power spectrum, 1024 lines
    extended Scale = 0;
    std::array<std::int16_t, BandLines> Codes{};
    std::vector<std::uint8_t> File; // the 732 bytes
};

TLiteralResult AnalyseLiterally(const TSamples& samples)
{
    TLiteralResult r;

    // Filter from a cleared state; sum the squares of the stored singles.
    TLiteralFilter filter(MainWindowFilterDesign());
    for (int i = 0; i < Samples; ++i) {
        r.Raw.push_back(static_cast<single>(filter.Step(static_cast<extended>(samples[i]))));
        r.SumSquares = r.SumSquares + static_cast<extended>(r.Raw[i]) * r.Raw[i];
    }
    r.Rms = std::sqrt(r.SumSquares / 16383);
    for (const single x : r.Raw) {
        r.Normalised.push_back(static_cast<single>(x / r.Rms));
    }

    // AverageSpectrum: the magnitudes of 15 frames summed line by line.
    auto fft = std::make_unique<TLiteralFFT>();
    std::vector<single> avg(HalfSize, 0.0f);
    for (int f = 0; f < Frames; ++f) {
        for (int j = 0; j < N; ++j) {
            fft->InReal[j] = r.Normalised[f * (N / 2) + j];
            fft->InImag[j] = 0;
        }
        fft->Transform();
        const std::vector<single> magnitude = fft->Magnitude();
        for (int k = 0; k < HalfSize; ++k) {
            avg[k] = static_cast<single>(static_cast<extended>(avg[k]) + magnitude[k]);
        }
    }
    const single w = static_cast<single>(51200.0L / N);
    single s = 0;
    for (int k = 0; k < HalfSize; ++k) {
        avg[k] = static_cast<single>(static_cast<extended>(avg[k]) * avg[k] / (N * Frames));
        s = static_cast<single>(s + static_cast<extended>(avg[k]) * w);
    }
    const single reciprocal = static_cast<single>(1 / static_cast<extended>(s));
    for (int k = 0; k < HalfSize; ++k) {
        avg[k] = static_cast<single>(static_cast<extended>(avg[k]) * reciprocal);
    }
    r.Spectrum = avg;

    // The writer: maximum from 0, scale = m / 10000, codes rounded half to
    // even; the ten bytes of the 80-bit scale, then the codes, low byte first.
    extended m = 0;
    for (int i = 0; i < BandLines; ++i) {
        if (static_cast<extended>(avg[BandFirst + i]) > m) {
            m = avg[BandFirst + i];
        }
    }
    r.Scale = m / 10000;
    for (int i = 0; i < BandLines; ++i) {
        r.Codes[i] = static_cast<std::int16_t>(RoundHalfEven(avg[BandFirst + i] / r.Scale));
    }
    r.File.resize(10 + 2 * BandLines);
    static_assert(sizeof(extended) >= 10);
    std::memcpy(r.File.data(), &r.Scale, 10); // x86: the 80-bit value's own bytes
    for (int i = 0; i < BandLines; ++i) {
        const auto code = static_cast<std::uint16_t>(r.Codes[i]);
        r.File[10 + 2 * i] = static_cast<std::uint8_t>(code & 0xFF);
        r.File[11 + 2 * i] = static_cast<std::uint8_t>(code >> 8);
    }
    return r;
}

// ---------------------------------------------------------------------------
// Tracing a mismatch to its first stage
// ---------------------------------------------------------------------------

std::string Values(long double fast, long double literal)
{
    std::ostringstream text;
    text.precision(21);
    text << "fast " << fast << " (" << std::hexfloat << fast << std::defaultfloat << "), literal " << literal << " ("
         << std::hexfloat << literal << ")";
    return text.str();
}

template <typename A, typename B> int FirstDifferent(const A& fast, const B& literal, int count)
{
    for (int i = 0; i < count; ++i) {
        if (std::memcmp(&fast[i], &literal[i], sizeof(fast[i])) != 0) {
            return i;
        }
    }
    return -1;
}

// Names the first stage at which the analysis (just run on samples) departs
// from the literal result, with the values on both sides. The filter output
// and the single frames are recomputed through the components for this.
std::string FirstDifferingStage(TRecordingAnalysis& core, const TSamples& samples, const TLiteralResult& ref)
{
    std::vector<single> raw(Samples);
    core.BandPass.ResetHistory();
    core.BandPass.FilterBlock(samples.data(), raw.data(), Samples);
    if (const int i = FirstDifferent(raw, ref.Raw, Samples); i >= 0) {
        return "filter output, sample " + std::to_string(i) + ": " + Values(raw[i], ref.Raw[i]);
    }
    if (core.SumSquares != ref.SumSquares) {
        return "SumSquares: " + Values(core.SumSquares, ref.SumSquares);
    }
    if (const int i = FirstDifferent(core.Filtered, ref.Normalised, Samples); i >= 0) {
        return "normalised sample " + std::to_string(i) + ": " + Values(core.Filtered[i], ref.Normalised[i]);
    }
    auto fft = std::make_unique<TLiteralFFT>();
    for (int f = 0; f < Frames; ++f) {
        for (int j = 0; j < N; ++j) {
            fft->InReal[j] = core.FrameFft.InReal()[j] = ref.Normalised[f * (N / 2) + j];
            fft->InImag[j] = core.FrameFft.InImag()[j] = 0;
        }
        fft->Transform();
        core.FrameFft.Transform();
        if (const int i = FirstDifferent(core.FrameFft.InReal(), fft->InReal, N); i >= 0) {
            return "frame " + std::to_string(f) + ", windowed sample " + std::to_string(i) + ": " +
                   Values(core.FrameFft.InReal()[i], fft->InReal[i]);
        }
        for (const auto& [name, fast, literal] : {std::tuple{"Re", core.FrameFft.OutReal(), fft->Out.Re.data()},
                                                  std::tuple{"Im", core.FrameFft.OutImag(), fft->Out.Im.data()}}) {
            if (const int i = FirstDifferent(fast, literal, N); i >= 0) {
                return "frame " + std::to_string(f) + ", transform line " + std::to_string(i) + " " + name + ": " +
                       Values(fast[i], literal[i]);
            }
        }
        const std::vector<single> magnitude = fft->Magnitude();
        core.FrameFft.Magnitude();
        if (const int i = FirstDifferent(core.FrameFft.OutReal(), magnitude, HalfSize); i >= 0) {
            return "frame " + std::to_string(f) + ", magnitude line " + std::to_string(i) + ": " +
                   Values(core.FrameFft.OutReal()[i], magnitude[i]);
        }
    }
    if (const int i = FirstDifferent(core.AvgSpectrum, ref.Spectrum, HalfSize); i >= 0) {
        return "power spectrum line " + std::to_string(i) + ": " + Values(core.AvgSpectrum[i], ref.Spectrum[i]);
    }
    if (std::memcmp(&core.SpectrumScale, &ref.Scale, 10) != 0) {
        return "scale: " + Values(core.SpectrumScale, ref.Scale);
    }
    if (const int i = FirstDifferent(core.BandCodes, ref.Codes, BandLines); i >= 0) {
        return "code " + std::to_string(i) + ": fast " + std::to_string(core.BandCodes[i]) + ", literal " +
               std::to_string(ref.Codes[i]);
    }
    return "no stage differs: the file bytes do";
}

// ---------------------------------------------------------------------------
// Recordings chosen to stress the rounding
// ---------------------------------------------------------------------------

// A square wave between the two extreme sample values, half a period of
// halfPeriod samples.
TSamples FullScaleSquare(int halfPeriod)
{
    TSamples samples(Samples);
    for (int i = 0; i < Samples; ++i) {
        samples[i] = (i / halfPeriod) % 2 == 0 ? std::int16_t{32767} : std::int16_t{-32768};
    }
    return samples;
}

TSamples OffsetTone(std::int16_t offset, double frequencyHz, double amplitude)
{
    TSamples samples = SineSamples(frequencyHz, amplitude, 0.7);
    for (auto& sample : samples) {
        sample = static_cast<std::int16_t>(sample + offset);
    }
    return samples;
}

struct TRecordingCase {
    const char* Name;
    TSamples (*Make)();
};

void PrintTo(const TRecordingCase& recording, std::ostream* out) { *out << recording.Name; }

const TRecordingCase Cases[] = {
    {"noise_30", [] { return NoiseSamples(101, 30); }},
    {"noise_3000", [] { return NoiseSamples(102, 3000); }},
    {"noise_full_scale", [] { return NoiseSamples(103, 32767); }},
    {"noise_1_lsb", [] { return NoiseSamples(104, 1); }},
    {"square_full_scale", [] { return FullScaleSquare(23); }},
    {"sine_5500", [] { return SineSamples(5500.0, 20000.0, 0.25); }},
    {"dc_25000_tone_40", [] { return OffsetTone(25000, 3125.0, 40.0); }},
};

// The literal result of each case, computed once.
const TLiteralResult& ReferenceOf(const TRecordingCase& recording)
{
    static std::map<std::string, TLiteralResult> done;
    auto it = done.find(recording.Name);
    if (it == done.end()) {
        it = done.emplace(recording.Name, AnalyseLiterally(recording.Make())).first;
    }
    return it->second;
}

// Processes the case as name.wav in folder with core and expects the bytes of
// the literal analysis in its spectrum file.
void ExpectLiteralFile(TRecordingAnalysis& core, const TTempFolder& folder, const TRecordingCase& recording,
                       const std::string& name)
{
    const TSamples samples = recording.Make();
    const std::string path = folder.File(name + ".wav");
    WriteRecording(path, samples);
    core.ProcessRecording(path);
    const TLiteralResult& reference = ReferenceOf(recording);
    if (ReadBytes(folder.File(name + ".spm")) != reference.File) {
        ADD_FAILURE() << name << " differs from the literal analysis at "
                      << FirstDifferingStage(core, samples, reference);
    }
}

class LiteralAnalysis : public testing::TestWithParam<TRecordingCase> {};

TEST_P(LiteralAnalysis, SpectrumFileIsBitIdentical)
{
    TTempFolder folder;
    auto core = std::make_unique<TRecordingAnalysis>();
    ExpectLiteralFile(*core, folder, GetParam(), GetParam().Name);

    // The reference itself is what it should be: a 732-byte file whose
    // largest code is exactly 10000.
    const TLiteralResult& reference = ReferenceOf(GetParam());
    EXPECT_EQ(reference.File.size(), 732u);
    EXPECT_EQ(*std::max_element(reference.Codes.begin(), reference.Codes.end()), TopCode);
}

INSTANTIATE_TEST_SUITE_P(Recordings, LiteralAnalysis, testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.Name); });

// One analysis object over a series, as in a batch: each recording starts
// from a cleared filter state, so a quiet recording after a loud one and a
// large offset still gives the file of its own literal analysis.
TEST(LiteralAnalysisSeries, RecordingsAfterOthersAreBitIdentical)
{
    TTempFolder folder;
    auto core = std::make_unique<TRecordingAnalysis>();
    const int order[] = {4, 6, 3, 2, 0, 6, 3};
    for (int step = 0; step < 7; ++step) {
        const TRecordingCase& recording = Cases[order[step]];
        ExpectLiteralFile(*core, folder, recording, std::to_string(step) + "-" + recording.Name);
    }
}

} // namespace
