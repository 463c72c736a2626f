#pragma once

// The fixture Batch, shared by the tests that hold on every system and those of POSIX
// behaviour (built on POSIX systems only).

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TTempFolder.h"

#include "core/batch/BatchRun.h"

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace batchtest {

using namespace testsupport;

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

} // namespace batchtest
