#pragma once

// UTF-8 (the program's text) and UTF-16 (the wide Win32 calls) for the Windows implementation
// of the platform layer. Bytes that are not UTF-8 become U+FFFD.

#include <string>
#include <windows.h>

namespace Platform::Windows {

inline std::wstring Wide(const std::string& text)
{
    if (text.empty()) {
        return {};
    }
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

inline std::string Narrow(const wchar_t* text, std::size_t size)
{
    if (size == 0) {
        return {};
    }
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), narrow.data(), length, nullptr, nullptr);
    return narrow;
}

inline std::string Narrow(const std::wstring& text) { return Narrow(text.data(), text.size()); }

// Error codes of newer systems than the MinGW headers know.
inline constexpr DWORD ErrorDirectoryNotSupported = 336; // ERROR_DIRECTORY_NOT_SUPPORTED
inline constexpr DWORD ErrorDiskQuotaExceeded = 1295;    // ERROR_DISK_QUOTA_EXCEEDED

inline HANDLE AsHandle(std::intptr_t handle) noexcept { return reinterpret_cast<HANDLE>(handle); }

// One argument as CommandLineToArgvW and the C runtime split it back, added to a command line:
// quoted when it holds a space, a tab or a quote or is empty; backslashes doubled only before a
// quote.
inline void AppendQuotedArgument(std::wstring& line, const std::wstring& word)
{
    if (!line.empty()) {
        line += L' ';
    }
    if (!word.empty() && word.find_first_of(L" \t\"") == std::wstring::npos) {
        line += word;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, L'\\');
    line += L'"';
}

inline std::intptr_t FromHandle(HANDLE handle) noexcept { return reinterpret_cast<std::intptr_t>(handle); }

} // namespace Platform::Windows
