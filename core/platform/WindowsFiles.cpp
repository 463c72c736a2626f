// Files on Windows: HANDLEs from CreateFileW on the UTF-16 form of the path, never inherited,
// read and written with ReadFile and WriteFile (bytes as they are: no text mode). Text to a
// console goes through WriteConsoleW.

#include "core/platform/Files.h"

#include "core/platform/WindowsWide.h"

#include <cwchar>
#include <windows.h>

namespace Platform {

using Windows::AsHandle;
using Windows::FromHandle;
using Windows::Wide;

namespace {

// Others may read, write, rename and delete a file this program has open, as on POSIX.
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens path; INVALID_HANDLE_VALUE with the last error set when that fails.
HANDLE Open(const std::string& path, DWORD access, DWORD disposition) noexcept
{
    return ::CreateFileW(Wide(path).c_str(), access, ShareAll, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// An open that failed with access denied on an existing folder fails as one on POSIX does: a
// folder where a file was expected.
int OpenError(const std::string& path)
{
    const DWORD error = ::GetLastError();
    if (error == ERROR_ACCESS_DENIED) {
        const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return Windows::ErrorDirectoryNotSupported;
        }
    }
    return static_cast<int>(error);
}

TFileHandle OpenOrThrow(const std::string& path, DWORD access, DWORD disposition, TFileOperation operation)
{
    const HANDLE handle = Open(path, access, disposition);
    if (handle == INVALID_HANDLE_VALUE) {
        throw ESystemError(OpenError(path), operation, path);
    }
    return FromHandle(handle);
}

bool IsConsole(HANDLE handle) noexcept
{
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != 0;
}

} // namespace

TFileHandle StandardInput() noexcept { return FromHandle(::GetStdHandle(STD_INPUT_HANDLE)); }
TFileHandle StandardOutput() noexcept { return FromHandle(::GetStdHandle(STD_OUTPUT_HANDLE)); }
TFileHandle StandardError() noexcept { return FromHandle(::GetStdHandle(STD_ERROR_HANDLE)); }

TFileHandle OpenForReading(const std::string& path, bool)
{
    // Folders do not open without backup semantics (OpenError).
    return OpenOrThrow(path, GENERIC_READ, OPEN_EXISTING, TFileOperation::Open);
}

TFileHandle OpenForWriting(const std::string& path)
{
    return OpenOrThrow(path, GENERIC_WRITE, OPEN_EXISTING, TFileOperation::Open);
}

TFileHandle CreateOrTruncate(const std::string& path)
{
    return OpenOrThrow(path, GENERIC_WRITE, CREATE_ALWAYS, TFileOperation::Create);
}

TFileHandle CreateNew(const std::string& path)
{
    const HANDLE handle = Open(path, GENERIC_WRITE, CREATE_NEW);
    if (handle == INVALID_HANDLE_VALUE) {
        const int error = OpenError(path);
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            return NoFileHandle;
        }
        throw ESystemError(error, TFileOperation::Create, path);
    }
    return FromHandle(handle);
}

TFileHandle OpenForAppending(const std::string& path)
{
    // Append data without write data: every write goes to the end as it is then. Read data
    // too, which LockFileEx asks of the handle it locks.
    return OpenOrThrow(path, FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE, OPEN_ALWAYS,
                       TFileOperation::Create);
}

std::size_t ReadSome(TFileHandle handle, void* buffer, std::size_t count, const std::string& name)
{
    const DWORD ask = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
    DWORD got = 0;
    if (!::ReadFile(AsHandle(handle), buffer, ask, &got, nullptr)) {
        const DWORD error = ::GetLastError();
        // The end of a pipe whose writer is gone, or of a file.
        if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
            return 0;
        }
        throw ESystemError(static_cast<int>(error), TFileOperation::Read, name);
    }
    return got;
}

std::size_t WriteSome(TFileHandle handle, const void* buffer, std::size_t count, const std::string& name)
{
    const DWORD ask = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
    if (IsConsole(AsHandle(handle))) {
        // The console shows UTF-16; the whole piece is converted (it holds whole characters:
        // the program writes whole messages).
        const std::wstring text = Wide(std::string(static_cast<const char*>(buffer), ask));
        const wchar_t* next = text.data();
        std::size_t left = text.size();
        while (left > 0) {
            DWORD written = 0;
            if (!::WriteConsoleW(AsHandle(handle), next, static_cast<DWORD>(left), &written, nullptr) || written == 0) {
                throw ESystemError(static_cast<int>(::GetLastError()), TFileOperation::Write, name);
            }
            next += written;
            left -= written;
        }
        return ask;
    }
    DWORD put = 0;
    if (!::WriteFile(AsHandle(handle), buffer, ask, &put, nullptr)) {
        throw ESystemError(static_cast<int>(::GetLastError()), TFileOperation::Write, name);
    }
    return put;
}

void TruncateAtPosition(TFileHandle handle, const std::string& name)
{
    LARGE_INTEGER position{};
    LARGE_INTEGER size{};
    if (!::SetFilePointerEx(AsHandle(handle), LARGE_INTEGER{}, &position, FILE_CURRENT) ||
        !::GetFileSizeEx(AsHandle(handle), &size)) {
        throw ESystemError(static_cast<int>(::GetLastError()), TFileOperation::Write, name);
    }
    if (size.QuadPart > position.QuadPart && !::SetEndOfFile(AsHandle(handle))) {
        throw ESystemError(static_cast<int>(::GetLastError()), TFileOperation::Write, name);
    }
}

void CloseFile(TFileHandle handle, const std::string& name)
{
    if (!::CloseHandle(AsHandle(handle))) {
        throw ESystemError(static_cast<int>(::GetLastError()), TFileOperation::Close, name);
    }
}

void CloseFileQuietly(TFileHandle handle) noexcept
{
    if (handle != NoFileHandle) {
        ::CloseHandle(AsHandle(handle));
    }
}

TFileHandle OpenForComparing(const std::string& path) noexcept
{
    try {
        const HANDLE handle = Open(path, GENERIC_READ | FILE_WRITE_ATTRIBUTES, OPEN_EXISTING);
        return handle == INVALID_HANDLE_VALUE ? NoFileHandle : FromHandle(handle);
    } catch (...) {
        return NoFileHandle;
    }
}

bool SetModifiedToNow(TFileHandle handle) noexcept
{
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return ::SetFileTime(AsHandle(handle), nullptr, nullptr, &now) != 0;
}

std::vector<std::string> FolderEntryNames(const std::string& folderPrefix, const std::string& prefix) noexcept
{
    std::vector<std::string> names;
    try {
        WIN32_FIND_DATAW entry{};
        const HANDLE search = ::FindFirstFileW(Wide(folderPrefix + prefix + "*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            // The pattern also matches short (8.3) names and ignores case: the name is compared again.
            std::string name = Windows::Narrow(entry.cFileName, std::wcslen(entry.cFileName));
            if (name.compare(0, prefix.size(), prefix) == 0) {
                names.push_back(std::move(name));
            }
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    } catch (...) {
        names.clear();
    }
    return names;
}

} // namespace Platform
