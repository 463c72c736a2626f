// A recording that is its own spectrum file, also through a symbolic link.

#include "AnalysisFixture.h"

#include "tests/support/RecordingFixtures.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace testsupport;

namespace {

using analysistest::Analysis;

TEST_F(Analysis, RecordingThatIsItsOwnSpectrumFileIsRefused)
{
    const std::string path = Folder.File("typed.spm");
    WriteRecording(path, SineSamples(5000.0, 1000.0));
    const auto before = ReadBytes(path);
    try {
        Core->ProcessRecording(path);
        ADD_FAILURE() << "a recording was overwritten by its own spectrum";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), IoCode::AccessDenied);
    }
    EXPECT_EQ(ReadBytes(path), before);

    // The same file under another name: a link named like its spectrum file.
    const std::string recording = Folder.File("linked.wav");
    WriteRecording(recording, SineSamples(5000.0, 1000.0));
    ASSERT_EQ(::symlink(recording.c_str(), Folder.File("linked.spm").c_str()), 0);
    const auto original = ReadBytes(recording);
    EXPECT_THROW(Core->ProcessRecording(recording), EInOutError);
    EXPECT_EQ(ReadBytes(recording), original);
}

} // namespace
