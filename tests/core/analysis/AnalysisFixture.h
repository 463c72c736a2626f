#pragma once

// The fixture Analysis, shared by the tests that hold on every system and those of POSIX
// behaviour (built on POSIX systems only).

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TTempFolder.h"

#include "core/analysis/TRecordingAnalysis.h"

#include <gtest/gtest.h>
#include <memory>

namespace analysistest {

using namespace testsupport;

class Analysis : public testing::Test {
protected:
    TTempFolder Folder;
    std::unique_ptr<TRecordingAnalysis> Core = std::make_unique<TRecordingAnalysis>();

    // Writes samples as name.wav, processes it and returns the spectrum file's bytes.
    std::vector<std::uint8_t> Process(TRecordingAnalysis& core, const std::string& name, const TSamples& samples)
    {
        const std::string path = Folder.File(name + ".wav");
        WriteRecording(path, samples);
        core.ProcessRecording(path);
        EXPECT_TRUE(Exists(Folder.File(name + ".spm")));
        return ReadBytes(Folder.File(name + ".spm"));
    }
};

} // namespace analysistest
