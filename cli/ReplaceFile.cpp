#include "cli/ReplaceFile.h"

#include "core/platform/FileReplacement.h"

void ReplaceFile(const std::string& path, std::string_view bytes)
{
    // Errors name the target: the temporary file is no concern of the user's.
    const std::string target = Platform::ReplacementTarget(path, Platform::TReplacementKind::ToolOutput);
    Platform::ReplaceWithBytes(target, bytes, Platform::TReplacementKind::ToolOutput, path);
}
