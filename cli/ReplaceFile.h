#pragma once

#include <string>
#include <string_view>

// Writes bytes as the file path so that path is only ever replaced by a whole
// file: the bytes go to a new hidden temporary file in path's folder
// (".tulvo-out-<pid>-<n>.tmp", mode 0666 less the umask), which then
// replaces path in one step (Platform::ReplaceWithBytes, kind ToolOutput). On any failure the temporary file is
// removed, path stays as it was (an older file of that name included), and
// EInOutError is raised naming path, with the system's error number.
void ReplaceFile(const std::string& path, std::string_view bytes);
