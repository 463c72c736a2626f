// The batch run where POSIX behaviour decides: modification times to the
// nanosecond, a folder standing in for a spectrum file, a spectrum file that
// is a symbolic link to another recording, FIFOs as recordings, and the
// default worker count from the affinity mask.

#include "BatchFixture.h"

#include "tests/support/FileBytes.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace testsupport;

namespace {

using batchtest::Batch;

TEST_P(Batch, UpdateSkipsSpectrumFilesNotOlderThanTheirRecordings)
{
    MakeRecordings(6);
    Run(false);
    // Recording 2 one nanosecond newer than its (stale) spectrum file,
    // recording 3 exactly as old as its own: only 2 is done again, and 5,
    // whose spectrum file is gone.
    const std::vector<std::uint8_t> stale(732, 0x22);
    WriteBytes(SpectrumFileName(Paths[2]), stale);
    struct stat spectrum {};
    ASSERT_EQ(::stat(SpectrumFileName(Paths[2]).c_str(), &spectrum), 0);
    timespec newer[2] = {spectrum.st_mtim, spectrum.st_mtim};
    if (++newer[1].tv_nsec == 1000000000) {
        newer[1].tv_nsec = 0;
        ++newer[1].tv_sec;
    }
    ASSERT_EQ(::utimensat(AT_FDCWD, Paths[2].c_str(), newer, 0), 0);
    ASSERT_EQ(::stat(SpectrumFileName(Paths[3]).c_str(), &spectrum), 0);
    const timespec same[2] = {spectrum.st_mtim, spectrum.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, Paths[3].c_str(), same, 0), 0);
    ::unlink(SpectrumFileName(Paths[5]).c_str());

    Reported.clear();
    TBatchOptions options;
    options.Update = true;
    const TBatchSummary summary = Run(false, options);
    EXPECT_EQ(summary.Written, 2u);
    EXPECT_EQ(summary.Skipped, 4u);
    ASSERT_EQ(Reported.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        const bool redone = i == 2 || i == 5;
        EXPECT_EQ(Reported[i].Status, redone ? TBatchStatus::Written : TBatchStatus::Skipped) << i;
        EXPECT_TRUE(Reported[i].Ok);
        EXPECT_EQ(Reported[i].SpectrumPath, SpectrumFileName(Paths[i]));
    }
    EXPECT_NE(ReadBytes(SpectrumFileName(Paths[2])), stale);
}

TEST_P(Batch, FailuresNameTheFileThatFailed)
{
    MakeRecordings(3, 0);
    // Recording 1's spectrum file cannot be written: a folder has its name.
    ASSERT_EQ(::mkdir(SpectrumFileName(Paths[1]).c_str(), 0755), 0);
    Run(true);
    ASSERT_EQ(Reported.size(), 3u);
    EXPECT_EQ(Reported[0].ErrorPath, Paths[0]);
    EXPECT_EQ(Reported[0].ErrorCode, IoCode::ReadBeyondEnd);
    EXPECT_EQ(Reported[1].ErrorPath, SpectrumFileName(Paths[1]));
    EXPECT_EQ(Reported[1].ErrorCode, IoCode::AccessDenied);
    EXPECT_EQ(Reported[1].SystemError, EISDIR);
    EXPECT_TRUE(Reported[2].Ok);
}

// Written through, the link would replace recording 0 with spectrum bytes.
TEST_P(Batch, ASpectrumFileLinkedToAnotherRecordingIsRefused)
{
    MakeRecordings(2);
    const auto before = ReadBytes(Paths[0]);
    ASSERT_EQ(::symlink("rec00.wav", SpectrumFileName(Paths[1]).c_str()), 0);
    Run(true);
    ASSERT_EQ(Reported.size(), 2u);
    EXPECT_TRUE(Reported[0].Ok);
    EXPECT_EQ(Reported[1].ErrorPath, Paths[1]);
    EXPECT_EQ(Reported[1].ErrorCode, IoCode::AccessDenied);
    EXPECT_EQ(ReadBytes(Paths[0]), before);
}

TEST_P(Batch, PipesAreRefusedUnlessAnyKindIsAllowed)
{
    MakeRecordings(2);
    const std::string fifo = Folder.File("fifo.wav");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    Paths.insert(Paths.begin() + 1, fifo);
    // Refused at once, not waited for: nobody ever writes to it.
    Run(true);
    ASSERT_EQ(Reported.size(), 3u);
    EXPECT_EQ(Reported[1].ErrorText, "File access denied");
    EXPECT_TRUE(Reported[2].Ok);

    // Into an output folder a pipe is read like a file.
    const std::vector<std::uint8_t> bytes = ReadBytes(Paths[0]);
    std::thread writer([&] {
        const int handle = ::open(fifo.c_str(), O_WRONLY);
        EXPECT_EQ(::write(handle, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::close(handle);
    });
    const std::string out = Folder.File("out");
    ASSERT_EQ(::mkdir(out.c_str(), 0755), 0);
    TBatchOptions options;
    options.OutputFolder = out;
    options.RecordingKinds = TFileKinds::AnyReadable;
    Reported.clear();
    Run(false, options);
    writer.join();
    EXPECT_EQ(ReadBytes(out + "/fifo.spm"), ReadBytes(out + "/rec00.spm"));
}

TEST(BatchJobs, DefaultCountFollowsTheAffinityMask)
{
    // Run in a thread of its own: the mask is the thread's, and it is narrowed.
    std::thread([] {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(sched_getcpu(), &one);
        ASSERT_EQ(::sched_setaffinity(0, sizeof one, &one), 0);
        EXPECT_EQ(DefaultJobCount(), 1);
    }).join();
    cpu_set_t mask;
    ASSERT_EQ(::sched_getaffinity(0, sizeof mask, &mask), 0);
    EXPECT_EQ(DefaultJobCount(), CPU_COUNT(&mask));
}

} // namespace
