// The header check: a table of recordings' first bytes, each built here chunk
// by chunk, with every fact the check reports (the fuzz target holds the
// check to the same verdict through a file); and the spectrum files of
// conforming and nonconforming recordings, the same bytes whatever the check
// says and whether or not it refuses.

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TTempFolder.h"

#include "core/analysis/WavHeader.h"
#include "core/batch/BatchRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <ostream>

using namespace testsupport;

namespace {

using TBytes = std::vector<std::uint8_t>;

void Put16(TBytes& bytes, std::uint16_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(TBytes& bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void PutId(TBytes& bytes, const char* id) { bytes.insert(bytes.end(), id, id + 4); }

// A chunk of the given id and declared size whose body is body (which may be
// shorter than declared, for truncated files); a pad byte after an odd body.
void PutChunk(TBytes& bytes, const char* id, std::uint32_t declared, const TBytes& body, bool pad = false)
{
    PutId(bytes, id);
    Put32(bytes, declared);
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (pad) {
        bytes.push_back(0);
    }
}

TBytes FormatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rateHz, std::uint16_t bits)
{
    TBytes body;
    Put16(body, tag);
    Put16(body, channels);
    Put32(body, rateHz);
    Put32(body, rateHz * channels * ((bits + 7u) / 8u));
    Put16(body, static_cast<std::uint16_t>(channels * ((bits + 7u) / 8u)));
    Put16(body, bits);
    return body;
}

// The 40-byte body of the extensible format with the sub-format subTag.
TBytes ExtensibleBody(std::uint16_t channels, std::uint32_t rateHz, std::uint16_t bits, std::uint16_t subTag)
{
    TBytes body = FormatBody(0xFFFE, channels, rateHz, bits);
    Put16(body, 22);   // extension size
    Put16(body, bits); // valid bits
    Put32(body, 4);    // channel mask
    Put16(body, subTag);
    const std::uint8_t suffix[] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    body.insert(body.end(), std::begin(suffix), std::end(suffix));
    return body;
}

TBytes Riff() { return {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}; }

// RIFF/WAVE, a format chunk of body fmt, the chunks of between, then a data
// chunk declaring dataBytes, followed by that many bytes of 0x11.
TBytes Recording(const TBytes& fmt, std::uint32_t dataBytes = 32768, const TBytes& between = {})
{
    TBytes bytes = Riff();
    PutChunk(bytes, "fmt ", static_cast<std::uint32_t>(fmt.size()), fmt);
    bytes.insert(bytes.end(), between.begin(), between.end());
    PutChunk(bytes, "data", dataBytes, TBytes(dataBytes, 0x11));
    return bytes;
}

const TBytes Mono16 = FormatBody(1, 1, 51200, 16);

struct THeaderCase {
    const char* Name;
    TBytes Bytes;
    bool RiffWave;
    TWavFormat Format;
    int Channels;
    std::uint32_t RateHz;
    int Bits;
    std::int64_t DataOffset;
    std::uint64_t DataBytes;
    const char* Reason;
};

std::ostream& operator<<(std::ostream& out, const THeaderCase& c) { return out << c.Name; }

TBytes ListChunk(std::uint32_t size, bool pad)
{
    TBytes bytes;
    PutChunk(bytes, "LIST", size, TBytes(size, 'x'), pad);
    return bytes;
}

TBytes Truncated(TBytes bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

TBytes WithoutFormat()
{
    TBytes bytes = Riff();
    PutChunk(bytes, "data", 32768, TBytes(32768, 0x11));
    return bytes;
}

TBytes WithoutData()
{
    TBytes bytes = Riff();
    PutChunk(bytes, "fmt ", 16, Mono16);
    const TBytes list = ListChunk(5000, false);
    bytes.insert(bytes.end(), list.begin(), list.end());
    return bytes;
}

TBytes WithChunkNear4GiB()
{
    TBytes bytes = Riff();
    PutChunk(bytes, "fmt ", 16, Mono16);
    PutChunk(bytes, "LIST", 0xFFFFFFF7u, TBytes(32768, 0x11));
    return bytes;
}

TBytes StreamedData()
{
    TBytes bytes = Recording(Mono16);
    std::memset(bytes.data() + 40, 0xFF, 4); // the size a writer that never went back leaves
    return bytes;
}

const std::vector<THeaderCase> HeaderCases{
    {"Conforming", Recording(Mono16), true, TWavFormat::Pcm, 1, 51200, 16, 44, 32768, "ok"},
    {"LongerData", Recording(Mono16, 40000), true, TWavFormat::Pcm, 1, 51200, 16, 44, 40000, "ok"},
    {"StreamedDataSize", StreamedData(), true, TWavFormat::Pcm, 1, 51200, 16, 44, 32768, "ok"},
    {"Stereo44100", Recording(FormatBody(1, 2, 44100, 16)), true, TWavFormat::Pcm, 2, 44100, 16, 44, 32768,
     "2 channels, 44100 Hz"},
    {"Mono44100", Recording(FormatBody(1, 1, 44100, 16)), true, TWavFormat::Pcm, 1, 44100, 16, 44, 32768, "44100 Hz"},
    {"Unsigned8Bit", Recording(FormatBody(1, 1, 51200, 8)), true, TWavFormat::Pcm, 1, 51200, 8, 44, 32768, "8-bit PCM"},
    {"Pcm24Bit48k", Recording(FormatBody(1, 1, 48000, 24)), true, TWavFormat::Pcm, 1, 48000, 24, 44, 32768,
     "48000 Hz, 24-bit PCM"},
    {"Float32", Recording(FormatBody(3, 1, 51200, 32)), true, TWavFormat::Float, 1, 51200, 32, 44, 32768,
     "32-bit float"},
    {"OtherTag", Recording(FormatBody(2, 1, 51200, 4)), true, TWavFormat::Other, 1, 51200, 4, 44, 32768,
     "format tag 2"},
    {"ExtensiblePcm", Recording(ExtensibleBody(1, 51200, 16, 1)), true, TWavFormat::ExtensiblePcm, 1, 51200, 16, 68,
     32768, "samples at byte 68"},
    {"ExtensibleFloat", Recording(ExtensibleBody(1, 51200, 32, 3)), true, TWavFormat::Float, 1, 51200, 32, 68, 32768,
     "32-bit float, samples at byte 68"},
    {"ListBeforeData", Recording(Mono16, 32768, ListChunk(26, false)), true, TWavFormat::Pcm, 1, 51200, 16, 78, 32768,
     "samples at byte 78"},
    {"OddChunkWithPad", Recording(Mono16, 32768, ListChunk(33, true)), true, TWavFormat::Pcm, 1, 51200, 16, 86, 32768,
     "samples at byte 86"},
    {"NoRiff", TBytes(40000, 0x37), false, TWavFormat::Unknown, 0, 0, 0, -1, 0, "not a RIFF/WAVE file"},
    {"ShorterThan12Bytes", Truncated(Recording(Mono16), 11), false, TWavFormat::Unknown, 0, 0, 0, -1, 0,
     "not a RIFF/WAVE file"},
    {"RiffOnly", Truncated(Recording(Mono16), 12), true, TWavFormat::Unknown, 0, 0, 0, -1, 0,
     "no fmt chunk, no data chunk in the first 4096 bytes"},
    {"TruncatedFormat", Truncated(Recording(Mono16), 30), true, TWavFormat::Unknown, 0, 0, 0, -1, 0,
     "no fmt chunk, the chunk at byte 12 runs past the end of the file"},
    {"TruncatedData", Truncated(Recording(Mono16), 1044), true, TWavFormat::Pcm, 1, 51200, 16, 44, 1000,
     "only 1000 bytes of samples"},
    {"ChunkNear4GiB", WithChunkNear4GiB(), true, TWavFormat::Pcm, 1, 51200, 16, -1, 0,
     "the chunk at byte 36 runs past the end of the file"},
    {"NoFormatChunk", WithoutFormat(), true, TWavFormat::Unknown, 0, 0, 0, 20, 32768,
     "no fmt chunk, samples at byte 20"},
    {"NoDataChunk", WithoutData(), true, TWavFormat::Pcm, 1, 51200, 16, -1, 0, "no data chunk in the first 4096 bytes"},
    {"ShortFormatChunk", Recording(TBytes(Mono16.begin(), Mono16.begin() + 14)), true, TWavFormat::Unknown, 0, 0, 0, 42,
     32768, "no fmt chunk, samples at byte 42"},
};

class WavHeaderCheck : public testing::TestWithParam<THeaderCase> {};

TEST_P(WavHeaderCheck, ReportsTheFactsAndWhatDiffers)
{
    const THeaderCase& c = GetParam();
    const TWavHeaderVerdict verdict = CheckWavHeader(c.Bytes, c.Bytes.size());
    EXPECT_EQ(verdict.RiffWave, c.RiffWave);
    EXPECT_EQ(verdict.Format, c.Format);
    EXPECT_EQ(verdict.Channels, c.Channels);
    EXPECT_EQ(verdict.RateHz, c.RateHz);
    EXPECT_EQ(verdict.Bits, c.Bits);
    EXPECT_EQ(verdict.DataOffset, c.DataOffset);
    EXPECT_EQ(verdict.DataBytes, c.DataBytes);
    EXPECT_EQ(verdict.Reason, c.Reason);
    EXPECT_EQ(verdict.Conforms, std::string(c.Reason) == "ok");
}

INSTANTIATE_TEST_SUITE_P(Headers, WavHeaderCheck, testing::ValuesIn(HeaderCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// A recording of the same samples under different headers.
struct TSpectrumCase {
    const char* Name;
    std::vector<std::uint8_t> Header;
    bool Conforms;
};

std::ostream& operator<<(std::ostream& out, const TSpectrumCase& c) { return out << c.Name; }

std::vector<std::uint8_t> ConformingHeader()
{
    const auto header = CanonicalWavHeader(32768);
    return {header.begin(), header.end()};
}

std::vector<std::uint8_t> StereoHeader()
{
    auto header = CanonicalWavHeader(32768);
    header[22] = 2;
    header[24] = 0x44; // 44100 Hz
    header[25] = 0xAC;
    header[26] = 0;
    return {header.begin(), header.end()};
}

class SpectrumWhateverTheHeader : public testing::TestWithParam<TSpectrumCase> {};

TEST_P(SpectrumWhateverTheHeader, KeepsItsBytesAndStrictRefusesOnlyNonconforming)
{
    TTempFolder folder;
    const TSamples samples = SineSamples(3000.0, 9000.0);
    const std::string reference = folder.File("reference.wav");
    WriteRecording(reference, samples, false);
    const std::string path = folder.File("recording.wav");
    WriteRecording(path, samples, false);
    auto bytes = ReadBytes(path);
    std::copy(GetParam().Header.begin(), GetParam().Header.end(), bytes.begin());
    WriteBytes(path, bytes);

    // The spectrum the analysis computes from the samples alone, its stages
    // run on the sample block read without any header check.
    auto plain = std::make_unique<TRecordingAnalysis>();
    plain->Recording.Samples = ReadSampleBlock(reference).Samples;
    plain->FilterRecording();
    plain->AverageSpectrum();
    TBandValues band{};
    std::copy_n(plain->AvgSpectrum.begin() + FirstBandLine, SpectrumLines, band.begin());
    TBandCodes codes{};
    const extended scale = QuantiseBand(band, codes);
    const auto expected = SpectrumFileImage(scale, codes);

    std::vector<TBatchItem> items;
    RunBatchParallel({path}, [&](const TBatchItem& item, std::size_t, std::size_t) { items.push_back(item); });
    ASSERT_EQ(items.size(), 1u);
    ASSERT_TRUE(items[0].Header.has_value());
    EXPECT_EQ(items[0].Header->Conforms, GetParam().Conforms);
    const auto written = ReadBytes(SpectrumFileName(path));
    EXPECT_EQ(written, std::vector<std::uint8_t>(expected.begin(), expected.end()));

    TBatchOptions strict;
    strict.Strict = true;
    strict.KeepGoing = true;
    std::remove(SpectrumFileName(path).c_str());
    items.clear();
    const TBatchSummary summary = RunBatchParallel(
        {path}, [&](const TBatchItem& item, std::size_t, std::size_t) { items.push_back(item); }, strict);
    EXPECT_EQ(summary.Failed, GetParam().Conforms ? 0u : 1u);
    EXPECT_EQ(Exists(SpectrumFileName(path)), GetParam().Conforms);
    if (GetParam().Conforms) {
        EXPECT_EQ(ReadBytes(SpectrumFileName(path)), written);
    } else {
        EXPECT_EQ(items[0].ErrorText,
                  items[0].Header->Reason + " (expected 1 channel, 51200 Hz, 16-bit PCM, samples at byte 44)");
    }
}

INSTANTIATE_TEST_SUITE_P(Headers, SpectrumWhateverTheHeader,
                         testing::Values(TSpectrumCase{"Conforming", ConformingHeader(), true},
                                         TSpectrumCase{"Stereo44100", StereoHeader(), false},
                                         TSpectrumCase{"NoHeader", std::vector<std::uint8_t>(44, 0xEE), false}),
                         [](const auto& info) { return std::string(info.param.Name); });

// The causes an invalid operation of the analysis is traced to.
TEST(InvalidOpCause, SilentRecordingAndEmptyBandAreToldApart)
{
    TTempFolder folder;
    const std::string silent = folder.File("silent.wav");
    WriteRecording(silent, ConstantSamples(0));
    auto analysis = std::make_unique<TRecordingAnalysis>();
    try {
        analysis->AnalyseRecording(silent);
        FAIL() << "a silent recording analysed";
    } catch (const EInvalidOp& e) {
        EXPECT_EQ(e.Cause(), TInvalidOpCause::SilentRecording);
        EXPECT_STREQ(e.what(), "Invalid floating point operation");
    }

    TBandCodes codes{};
    try {
        QuantiseBand(TBandValues{}, codes);
        FAIL() << "an empty band quantised";
    } catch (const EInvalidOp& e) {
        EXPECT_EQ(e.Cause(), TInvalidOpCause::EmptyBand);
    }
}

} // namespace
