// Sample blocks under a descriptor limit (RLIMIT_NOFILE).

#include "SampleBlockFixture.h"

#include "tests/support/RecordingFixtures.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using namespace testsupport;

namespace {

using sampleblocktest::SampleBlock;

TEST_F(SampleBlock, TooManyOpenFilesIsCodeFour)
{
    const std::string path = Folder.File("rec.wav");
    WriteRecording(path, ConstantSamples(3));
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = 256;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    // Use up every descriptor the limit leaves.
    std::vector<int> fillers;
    for (int handle; (handle = ::open("/dev/null", O_RDONLY)) >= 0;) {
        fillers.push_back(handle);
    }
    int code = 0;
    try {
        ReadSampleBlock(path);
    } catch (const EInOutError& e) {
        code = e.ErrorCode();
    }
    for (const int handle : fillers) {
        ::close(handle);
    }
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(code, IoCode::TooManyOpenFiles);
}

} // namespace
