#pragma once

#include <cstddef>
#include <string>

// Paths as text, UTF-8 inside the program. No file is looked at.
//
// Separators: '/' on POSIX; both '\' and '/' on Windows, where a path may
// also start with a drive ("C:", "C:\") or a UNC share
// ("\\server\share\"), which belong to the folder part and are never split.
namespace Platform {

// True for a character that separates the parts of a path on this system.
bool IsPathSeparator(char c) noexcept;

// The position where the last part of path (the file's own name) starts: 0
// for a bare name, path.size() for a path that ends in a separator.
std::size_t FileNameStart(const std::string& path) noexcept;

// The file's own name: the part after the last separator (or drive).
std::string FileNamePart(const std::string& path);

// The folder part of path as written, with its final separator ("" for a
// bare name): what a name in the same folder is appended to. "/a/b" gives
// "/a/", "/b" gives "/", "C:b" gives "C:" on Windows.
std::string FolderPrefix(const std::string& path);

// The folder of path as a path of its own: "." for a bare name, "/" for a
// file in the root; otherwise the folder part without its final separator,
// except where that separator is the root ("C:\" on Windows; a UNC share
// "\\server\share\" stays whole).
std::string FolderPath(const std::string& path);

// name in folder: folder and name joined by one separator ('/' on both
// systems, which Windows accepts), none added when folder already ends in
// a separator (or, on Windows, is a bare drive "C:").
std::string JoinPath(const std::string& folder, const std::string& name);

} // namespace Platform
