// The batch run over a list: stop at the first failure with the earlier
// files kept, keep going on request, and the parallel run writing the same
// bytes with the same outcome; a stop request, skipping up-to-date files, an
// output folder, pipes as recordings, the failing file of each failure, and
// the default worker count.

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TTempFolder.h"

#include "core/BatchRun.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sched.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace testsupport;

namespace {

class Batch : public testing::TestWithParam<int> {
protected:
    TTempFolder Folder;
    std::vector<std::string> Paths;
    std::vector<TBatchItem> Reported;

    // count recordings rec00.wav...; the one at failAt is one byte short.
    void MakeRecordings(int count, int failAt = -1)
    {
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "rec%02d.wav", i);
            const std::string path = Folder.File(name);
            WriteRecording(path, i % 2 ? NoiseSamples(static_cast<std::uint32_t>(i), 3000 + 100 * i)
                                       : SineSamples(1500.0 + 250.0 * i, 5000.0));
            if (i == failAt) {
                auto bytes = ReadBytes(path);
                bytes.pop_back();
                WriteBytes(path, bytes);
            }
            Paths.push_back(path);
        }
    }

    // Runs the batch sequentially (jobs 1) or on GetParam() workers, with
    // options besides KeepGoing and Jobs from base; onItem sees each item.
    TBatchSummary Run(bool keepGoing, TBatchOptions options = {},
                      const std::function<void(const TBatchItem&)>& onItem = {})
    {
        const TBatchProgress progress = [this, &onItem](const TBatchItem& item, std::size_t done, std::size_t total) {
            EXPECT_EQ(done, Reported.size() + 1);
            EXPECT_EQ(total, Paths.size());
            Reported.push_back(item);
            if (onItem) {
                onItem(item);
            }
        };
        options.KeepGoing = keepGoing;
        options.Jobs = GetParam();
        if (GetParam() == 1) {
            auto analysis = std::make_unique<TRecordingAnalysis>();
            return RunBatch(*analysis, Paths, progress, options);
        }
        return RunBatchParallel(Paths, progress, options);
    }

    bool Written(int i) const { return Exists(SpectrumFileName(Paths[i])); }
};

TEST_P(Batch, FailureAtKLeavesTheFilesBeforeItAndNoneAfter)
{
    constexpr int count = 24;
    constexpr int failAt = 9;
    MakeRecordings(count, failAt);
    const std::vector<std::uint8_t> older(732, 0x11);
    WriteBytes(SpectrumFileName(Paths[failAt]), older);

    try {
        Run(false);
        ADD_FAILURE() << "the batch went through a short recording";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), IoCode::ReadBeyondEnd);
    }
    for (int i = 0; i < count; ++i) {
        if (i != failAt) {
            EXPECT_EQ(Written(i), i < failAt) << "recording " << i;
        }
    }
    EXPECT_EQ(ReadBytes(SpectrumFileName(Paths[failAt])), older);
    ASSERT_EQ(Reported.size(), static_cast<std::size_t>(failAt + 1));
    for (int i = 0; i < failAt; ++i) {
        EXPECT_TRUE(Reported[i].Ok);
        EXPECT_EQ(Reported[i].Index, static_cast<std::size_t>(i));
    }
    EXPECT_FALSE(Reported[failAt].Ok);
    EXPECT_EQ(Reported[failAt].ErrorText, "Read beyond end of file");
    // Nothing but recordings and spectrum files: no temporaries left.
    EXPECT_EQ(FolderEntries(Folder.Path()).size(), static_cast<std::size_t>(count + failAt + 1));
}

TEST_P(Batch, KeepGoingWritesEveryOtherRecording)
{
    MakeRecordings(12, 4);
    const std::string silent = Folder.File("silent.wav");
    WriteRecording(silent, ConstantSamples(0));
    Paths.insert(Paths.begin() + 7, silent);

    const TBatchSummary summary = Run(true);
    EXPECT_EQ(summary.Written, 11u);
    EXPECT_EQ(summary.Failed, 2u);
    ASSERT_EQ(Reported.size(), Paths.size());
    EXPECT_EQ(Reported[4].ErrorText, "Read beyond end of file");
    EXPECT_EQ(Reported[7].ErrorText, "Invalid floating point operation");
    EXPECT_FALSE(Written(4));
    EXPECT_FALSE(Written(7));
    EXPECT_TRUE(Written(12));
    EXPECT_EQ(Reported[0].PeakLine, (1500 - 1000) / 25); // a 1500 Hz sine
}

TEST_P(Batch, WritesWhatProcessingOneByOneWrites)
{
    MakeRecordings(10);
    Run(false);
    std::vector<std::vector<std::uint8_t>> batchFiles;
    for (const auto& path : Paths) {
        batchFiles.push_back(ReadBytes(SpectrumFileName(path)));
    }
    // Each recording alone, in reverse order, through one analysis.
    auto analysis = std::make_unique<TRecordingAnalysis>();
    for (int i = static_cast<int>(Paths.size()) - 1; i >= 0; --i) {
        analysis->ProcessRecording(Paths[i]);
        EXPECT_EQ(ReadBytes(SpectrumFileName(Paths[i])), batchFiles[i]) << Paths[i];
        EXPECT_EQ(Reported[i].PeakLine, analysis->PeakLine());
        EXPECT_EQ(Reported[i].PeakValue, analysis->Band[analysis->PeakLine()]);
        EXPECT_EQ(Reported[i].SpectrumPath, SpectrumFileName(Paths[i]));
    }
}

TEST_P(Batch, FloatingPointFaultEndsTheRunWithItsOwnError)
{
    MakeRecordings(6);
    const std::string silent = Folder.File("silent.wav");
    WriteRecording(silent, ConstantSamples(0));
    Paths.insert(Paths.begin() + 3, silent);
    try {
        Run(false);
        ADD_FAILURE() << "the silent recording was analysed";
    } catch (const EInvalidOp& e) {
        EXPECT_EQ(e.Path(), silent); // the error box names the recording that stopped the run
    }
    EXPECT_TRUE(Written(2));
    EXPECT_FALSE(Written(4));
}

TEST_P(Batch, StopRequestEndsTheRunAfterTheRecordingInHand)
{
    MakeRecordings(40);
    std::atomic<bool> stop{false};
    TBatchOptions options;
    options.Stop = &stop;
    const TBatchSummary summary = Run(false, options, [&](const TBatchItem& item) {
        if (item.Index == 4) {
            stop = true; // as a signal handler would, between two recordings
        }
    });
    EXPECT_TRUE(summary.Stopped);
    EXPECT_EQ(summary.Written, 5u);
    EXPECT_EQ(Reported.size(), 5u);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(Written(i), i < 5) << i;
    }
    // Recordings, five whole spectrum files and nothing else.
    EXPECT_EQ(FolderEntries(Folder.Path()).size(), 45u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ReadBytes(SpectrumFileName(Paths[i])).size(), 732u);
    }
}

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

TEST_P(Batch, OutputFolderReceivesTheSameFiles)
{
    MakeRecordings(5);
    const std::string out = Folder.File("out");
    ASSERT_EQ(::mkdir(out.c_str(), 0755), 0);
    TBatchOptions options;
    options.OutputFolder = out + "/";
    Run(false, options);
    Reported.clear();
    Run(false);
    for (int i = 0; i < 5; ++i) {
        const std::string name = SpectrumFileName(Paths[i]).substr(Folder.Path().string().size() + 1);
        EXPECT_EQ(SpectrumPathFor(Paths[i], out), out + "/" + name);
        EXPECT_EQ(ReadBytes(out + "/" + name), ReadBytes(SpectrumFileName(Paths[i]))) << name;
    }
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

INSTANTIATE_TEST_SUITE_P(Jobs, Batch, testing::Values(1, 2, 3), [](const testing::TestParamInfo<int>& info) {
    return info.param == 1 ? std::string("Sequential") : std::to_string(info.param) + "Workers";
});

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
