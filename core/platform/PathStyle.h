#pragma once

// The grammars of paths (core/base/Paths.h) and which one this system's paths follow.
namespace Platform {

// POSIX: '/' separates, and a path starting with it is rooted. Windows: '\' and '/' both
// separate, and a path may start with a root of its own: a drive ("C:", "C:\"), a UNC share
// ("\\server\share\"), a device path ("\\?\C:\") or the current drive's root ("\").
enum class TPathStyle { Posix, Windows };

#if defined(_WIN32)
inline constexpr TPathStyle NativePathStyle = TPathStyle::Windows;
#else
inline constexpr TPathStyle NativePathStyle = TPathStyle::Posix;
#endif

} // namespace Platform
