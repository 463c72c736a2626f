// The batch run over a list: stop at the first failure with the earlier
// files kept, keep going on request, and the parallel run writing the same
// bytes with the same outcome.

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TTempFolder.h"

#include "core/BatchRun.h"

#include <gtest/gtest.h>
#include <memory>

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

    // Runs the batch sequentially (jobs 1) or on GetParam() workers.
    TBatchSummary Run(bool keepGoing)
    {
        const TBatchProgress progress = [this](const TBatchItem& item, std::size_t done, std::size_t total) {
            EXPECT_EQ(done, Reported.size() + 1);
            EXPECT_EQ(total, Paths.size());
            Reported.push_back(item);
        };
        TBatchOptions options;
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
    EXPECT_THROW(Run(false), EInvalidOp);
    EXPECT_TRUE(Written(2));
    EXPECT_FALSE(Written(4));
}

INSTANTIATE_TEST_SUITE_P(Jobs, Batch, testing::Values(1, 2, 3),
                         [](const testing::TestParamInfo<int>& info) {
                             return info.param == 1 ? std::string("Sequential")
                                                    : std::to_string(info.param) + "Workers";
                         });

} // namespace
