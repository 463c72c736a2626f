// The batch run over a list: stop at the first failure with the earlier
// files kept, keep going on request, and the parallel run writing the same
// bytes with the same outcome; a stop request, skipping up-to-date files, an
// output folder, pipes as recordings, the failing file of each failure, and
// the default worker count.

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TTempFolder.h"

#include "BatchFixture.h"

#include "core/batch/BatchRun.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

using namespace testsupport;

namespace {

using batchtest::Batch;

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

TEST_P(Batch, OutputFolderReceivesTheSameFiles)
{
    MakeRecordings(5);
    const std::string out = Folder.File("out");
    ASSERT_TRUE(std::filesystem::create_directory(out));
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

INSTANTIATE_TEST_SUITE_P(Jobs, Batch, testing::Values(1, 2, 3), [](const testing::TestParamInfo<int>& info) {
    return info.param == 1 ? std::string("Sequential") : std::to_string(info.param) + "Workers";
});

} // namespace
