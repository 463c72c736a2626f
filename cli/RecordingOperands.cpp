#include "cli/RecordingOperands.h"

#include "cli/ToolMessages.h"
#include "core/platform/FileStatus.h"

#include <algorithm>
#include <cctype>

namespace {

bool EndsWithSpm(const std::string& name)
{
    constexpr std::string_view extension = ".spm";
    return name.size() >= extension.size() &&
           std::equal(extension.begin(), extension.end(), name.end() - extension.size(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

bool IsSpectrumFile(const std::string& name)
{
    if (EndsWithSpm(name)) {
        return true;
    }
    const auto status = Platform::StatusOf(name);
    return status && status->Regular && status->Size == SpectrumFileSize;
}

} // namespace

void CheckRecordingOperands(const std::vector<std::string>& names, std::string_view option)
{
    const std::string prefix = std::string(option) + ": ";
    for (const auto& name : names) {
        if (name == "-") {
            throw TUsageError(prefix + "a recording cannot come from standard input ('-')");
        }
        if (IsSpectrumFile(name)) {
            throw TUsageError(prefix + name +
                              " is a spectrum file, which holds no frames; give the recording "
                              "it was made from");
        }
    }
}

TFramedRecording ReadFramedOperand(const std::string& name, const TToolContext& context)
{
    const TSampleBlock recording = ReadSampleBlock(name);
    // Said before the analysis, which may still refuse the samples.
    const TWavHeaderVerdict verdict = CheckWavHeader(recording);
    if (!verdict.Conforms) {
        WriteToErr(context, NonconformingWarning(name, verdict));
    }
    return AnalyseFramedRecording(recording);
}

std::string AnalysisErrorLine(const std::string& name, const EMathError& error)
{
    std::string message = error.what();
    if (const auto* invalid = dynamic_cast<const EInvalidOp*>(&error)) {
        const std::string_view hint = InvalidOpHint(invalid->Cause());
        if (!hint.empty()) {
            message += " (" + std::string(hint) + ")";
        }
    }
    return ErrorLine(name, message);
}
