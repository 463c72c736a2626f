#include "ToolRun.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TTempFolder.h"

#include "cli/CommandLine.h"
#include "core/files/FileHandles.h"

#include <sstream>

namespace clitest {

namespace {

std::string ReadText(const std::string& path)
{
    const auto bytes = testsupport::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TToolRun RunToolInProcess(const std::vector<std::string>& words, const std::string& input, const std::string& outPath,
                          int stopSignal)
{
    const testsupport::TTempFolder folder;
    const std::string in = folder.File("stdin");
    const std::string out = outPath.empty() ? folder.File("stdout") : outPath;
    const std::string err = folder.File("stderr");
    testsupport::WriteBytes(in, std::vector<std::uint8_t>(input.begin(), input.end()));

    TToolContext context;
    context.In = OpenForReading(in, TFileKinds::RegularOnly);
    context.Out = CreateOrTruncate(out);
    context.Err = CreateOrTruncate(err);
    if (stopSignal != 0) {
        context.Stop.Request(stopSignal);
    }
    TToolRun run;
    run.Status = RunTool(words, context);
    Platform::CloseFileQuietly(context.In);
    Platform::CloseFileQuietly(context.Out);
    Platform::CloseFileQuietly(context.Err);
    run.Out = outPath.empty() ? ReadText(out) : std::string();
    run.Err = ReadText(err);
    return run;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace clitest
