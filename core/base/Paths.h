#pragma once

#include "core/platform/PathStyle.h"

#include <cstddef>
#include <string>

// Paths as text, UTF-8 inside the program, split and joined by one grammar in either style
// (Platform::TPathStyle), this system's own unless one is given. No file is looked at.
//
// A path's root (POSIX "/"; Windows a drive, UNC share, device path or "\" with the separator
// after it) belongs to its folder part and is never split.

using Platform::TPathStyle;

// True for a character that separates the parts of a path in style.
bool IsPathSeparator(char c, TPathStyle style = Platform::NativePathStyle) noexcept;

// The length of path's root: "/" in POSIX; "C:\", "C:", "\\server\share\", "\\?\C:\" or "\" in
// Windows; 0 for a path relative to the current folder.
std::size_t PathRootLength(const std::string& path, TPathStyle style = Platform::NativePathStyle) noexcept;

// The position where the last part of path (the file's own name) starts: 0 for a bare name,
// path.size() for a path that ends in a separator.
std::size_t FileNameStart(const std::string& path, TPathStyle style = Platform::NativePathStyle) noexcept;

// The file's own name: the part after the last separator (or root).
std::string FileNamePart(const std::string& path, TPathStyle style = Platform::NativePathStyle);

// The folder part of path as written, with its final separator ("" for a bare name): what a
// name in the same folder is appended to. "/a/b" gives "/a/", "/b" gives "/", "C:b" gives "C:".
std::string FolderPrefix(const std::string& path, TPathStyle style = Platform::NativePathStyle);

// The folder of path as a path of its own: "." for a bare name; the root for a file in it ("/",
// "C:\", "C:", "\\server\share\"); otherwise the folder part without its final separator.
std::string FolderPath(const std::string& path, TPathStyle style = Platform::NativePathStyle);

// name in folder: folder and name joined by one '/' (which Windows accepts too), none added
// when folder already ends in a separator or is a bare drive ("C:").
std::string JoinPath(const std::string& folder, const std::string& name, TPathStyle style = Platform::NativePathStyle);

// path as one writes it, from the form the system gives (a folder's final path, a link's target):
// in Windows a device path of a drive or share, "\\?\" or the object manager's "\??\" before
// "C:\..." or "UNC\server\share\...", becomes "C:\..." or "\\server\share\..."; "\??\" before
// anything else becomes "\\?\". Any other path, and every POSIX one, stays as it is.
std::string UsualPathForm(const std::string& path, TPathStyle style = Platform::NativePathStyle);
