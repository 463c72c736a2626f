#pragma once

// The fixtures of the batch, probe and show tests, shared by the tests that hold on every
// system and those of POSIX behaviour (built on POSIX systems only): recordings in a temporary
// folder, spectrum files made from them, and the report's CSV read back.

#include "tests/support/RecordingFixtures.h"
#include "tests/support/TTempFolder.h"

#include "core/analysis/SpmFile.h"
#include "core/analysis/TRecordingAnalysis.h"
#include "core/batch/BatchRun.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace batchcommandtest {

using namespace testsupport;

inline const std::string Header = "File,Status,Peak frequency (Hz),Peak value,Format";

inline std::string Text(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The rows of a CSV text, fields unquoted ("" inside quotes is one quote;
// line ends inside quotes belong to the field).
inline std::vector<std::vector<std::string>> CsvRows(const std::string& text)
{
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            rows.back().back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ',') {
            rows.back().emplace_back();
        } else if (!quoted && c == '\n') {
            rows.emplace_back(1);
        } else {
            rows.back().back() += c;
        }
    }
    rows.pop_back(); // after the last line end
    return rows;
}

class BatchCommand : public testing::Test {
protected:
    TTempFolder Folder;

    std::vector<std::string> MakeRecordings(const std::string& prefix, int count)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) {
            paths.push_back(Folder.File(prefix + std::to_string(i) + ".wav"));
            WriteRecording(paths.back(), i % 2 ? NoiseSamples(static_cast<std::uint32_t>(40 + i), 9000)
                                               : SineSamples(2000.0 + 700.0 * i, 12000.0));
        }
        return paths;
    }

    static std::vector<std::string> Words(std::vector<std::string> words, const std::vector<std::string>& files)
    {
        words.insert(words.end(), files.begin(), files.end());
        return words;
    }
};

class ShowCommand : public BatchCommand {
protected:
    std::vector<std::string> Spectra(int count)
    {
        const auto paths = MakeRecordings("s", count);
        auto analysis = std::make_unique<TRecordingAnalysis>();
        RunBatch(*analysis, paths);
        std::vector<std::string> spectra;
        for (const auto& path : paths) {
            spectra.push_back(SpectrumFileName(path));
        }
        return spectra;
    }
};

} // namespace batchcommandtest
