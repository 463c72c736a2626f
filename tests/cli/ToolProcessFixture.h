#pragma once

// Helpers of the tests that run tulvo-cli as a process: its command line, the
// lines of a text, a file's text, and copies of one recording.

#include "tests/support/FileBytes.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TTempFolder.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace toolprocesstest {

using namespace testsupport;

inline std::vector<std::string> Cli(std::vector<std::string> args)
{
    args.insert(args.begin(), TULVO_CLI_PATH);
    return args;
}

inline std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

inline std::string TextOf(const std::string& path)
{
    const auto bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// count copies of one recording, rec0000.wav..., in folder.
inline std::vector<std::string> CopiesOfARecording(const TTempFolder& folder, int count)
{
    const std::string first = folder.File("rec0000.wav");
    WriteRecording(first, SineSamples(3000.0, 9000.0));
    const auto bytes = ReadBytes(first);
    std::vector<std::string> paths{first};
    for (int i = 1; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "rec%04d.wav", i);
        paths.push_back(folder.File(name));
        WriteBytes(paths.back(), bytes);
    }
    return paths;
}

} // namespace toolprocesstest
