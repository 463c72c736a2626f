// Reading a recording's sample block: sizes at the edges, missing paths,
// read-only files, descriptors closed on every path.

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TPermissionsEnforced.h"
#include "tests/support/TTempFolder.h"

#include "SampleBlockFixture.h"

#include "core/analysis/TSampleBlock.h"
#include "core/base/TulvoErrors.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace testsupport;

namespace {

using sampleblocktest::SampleBlock;

struct TSizeCase {
    const char* Name;
    int FileSize;
    int ExpectedCode;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TSizeCase& c, std::ostream* os) { *os << c.Name; }

class SampleBlockSize : public SampleBlock, public testing::WithParamInterface<TSizeCase> {};

TEST_P(SampleBlockSize, ReadsWholeBlocksOnly)
{
    const TSamples samples = NoiseSamples(7, 20000);
    WriteRecording(Folder.File("full.wav"), samples, false, 100);
    auto bytes = ReadBytes(Folder.File("full.wav"));
    bytes.resize(static_cast<std::size_t>(GetParam().FileSize));
    const std::string path = Folder.File("rec.wav");
    WriteBytes(path, bytes);

    EXPECT_EQ(ReadCode(path), GetParam().ExpectedCode);
    if (GetParam().ExpectedCode == 0) {
        EXPECT_TRUE(std::equal(samples.begin(), samples.end(), Block.Samples.begin()));
        // The header is kept as it stands, never examined.
        EXPECT_EQ(Block.Header[0], 0xEE);
        EXPECT_EQ(Block.Header[43], 0xEE);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SampleBlockSize,
                         testing::Values(TSizeCase{"Exact", SampleBlockFileSize, 0},
                                         TSizeCase{"Longer", SampleBlockFileSize + 100, 0},
                                         TSizeCase{"OneByteShort", SampleBlockFileSize - 1, IoCode::ReadBeyondEnd},
                                         TSizeCase{"ShorterThanHeader", WavHeaderSize - 1, IoCode::ReadBeyondEnd},
                                         TSizeCase{"Empty", 0, IoCode::ReadBeyondEnd}),
                         [](const testing::TestParamInfo<TSizeCase>& info) { return std::string(info.param.Name); });

TEST_F(SampleBlock, MissingPathsAreNamedByWhatIsMissing)
{
    WriteRecording(Folder.File("plain-file"), ConstantSamples(1));
    EXPECT_EQ(ReadCode(Folder.File("absent.wav")), IoCode::FileNotFound);
    EXPECT_EQ(ReadCode(Folder.File("no-folder/absent.wav")), IoCode::InvalidFilename);
    EXPECT_EQ(ReadCode(Folder.File("plain-file/absent.wav")), IoCode::InvalidFilename);
    EXPECT_EQ(ReadCode(""), IoCode::InvalidFilename);
    // A folder where a recording was expected.
    EXPECT_EQ(ReadCode(Folder.Path().string()), IoCode::AccessDenied);
}

TEST_F(SampleBlock, ReadOnlyRecordingIsReadNormally)
{
    TPermissionsEnforced enforced;
    if (!enforced.Available()) {
        GTEST_SKIP() << "cannot make file permissions apply to this process";
    }
    const TSamples samples = SineSamples(1000.0, 3000.0);
    const std::string path = Folder.File("read-only.wav");
    WriteRecording(path, samples);
    std::filesystem::permissions(path, std::filesystem::perms(0444));

    EXPECT_EQ(ReadCode(path), 0);
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), Block.Samples.begin()));

    // Other refusals stay errors: a recording that may not be read at all.
    std::filesystem::permissions(path, std::filesystem::perms(0200));
    EXPECT_EQ(ReadCode(path), IoCode::AccessDenied);
}

} // namespace
