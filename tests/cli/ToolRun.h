#pragma once

// tulvo-cli's commands run in this process through the tulvo_cli library,
// with stdin, stdout and stderr on files of a temporary folder.

#include <string>
#include <vector>

namespace clitest {

struct TToolRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// RunTool over words (the arguments after the program's name), with input
// on stdin, stdout on outPath instead of a file read back (e.g. "/dev/full")
// when it is not empty, and a stop request for stopSignal made before the
// command starts (0: none).
TToolRun RunToolInProcess(const std::vector<std::string>& words, const std::string& input = {},
                          const std::string& outPath = {}, int stopSignal = 0);

// The lines of text, without their line ends.
std::vector<std::string> Lines(const std::string& text);

} // namespace clitest
