// Replacing files on Windows: the new bytes go to a hidden temporary in the target's folder,
// held open without delete sharing (so that no sweep removes it), flushed, closed, and then
// moved over the target with MoveFileExW(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
// A target that another program holds open cannot be replaced: that fails with code 5 and the
// reason "the file is open in another program", the target untouched and the temporary gone.

#include "core/platform/FileReplacement.h"

#include "core/platform/FileStatus.h"
#include "core/platform/Paths.h"
#include "core/platform/SystemErrors.h"
#include "core/platform/WindowsWide.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <windows.h>

namespace Platform {

using Windows::Narrow;
using Windows::Wide;

namespace {

constexpr const char* SpectrumStart = ".tulvo-";
constexpr const char* OutputStart = ".tulvo-out-";
constexpr const char* TemporaryEnd = ".tmp";

// A replacement that meets a temporary swept away by another process's sweep (between its
// close and its move) starts again, at most this often.
constexpr int MaxAttempts = 8;

std::string NewTemporaryName(const std::string& target, TReplacementKind kind)
{
    static std::atomic<unsigned> counter{0};
    return FolderPrefix(target) + (kind == TReplacementKind::SpectrumFile ? SpectrumStart : OutputStart) +
           std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter.fetch_add(1)) + TemporaryEnd;
}

// True for ".tulvo-<digits>-<digits>.tmp".
bool IsSpectrumTemporaryName(const std::string& name)
{
    const std::size_t startLength = std::strlen(SpectrumStart);
    if (name.compare(0, startLength, SpectrumStart) != 0) {
        return false;
    }
    std::size_t p = startLength;
    for (int part = 0; part < 2; ++part) {
        const std::size_t digits = p;
        while (p < name.size() && name[p] >= '0' && name[p] <= '9') {
            ++p;
        }
        if (p == digits || p == name.size() || name[p] != (part == 0 ? '-' : '.')) {
            return false;
        }
        if (part == 0) {
            ++p;
        }
    }
    return name.compare(p, std::string::npos, TemporaryEnd) == 0;
}

DWORD Attributes(const std::string& path) { return ::GetFileAttributesW(Wide(path).c_str()); }

bool IsLink(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// True when target is a regular file holding exactly bytes; its modification time is then
// brought to now, as a write would.
bool TargetAlreadyHolds(const std::string& target, std::string_view bytes)
{
    const HANDLE handle = ::CreateFileW(Wide(target).c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool same = false;
    LARGE_INTEGER size{};
    if (::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileSizeEx(handle, &size) &&
        size.QuadPart == static_cast<LONGLONG>(bytes.size())) {
        std::string held(bytes.size(), '\0');
        DWORD got = 0;
        same = ::ReadFile(handle, held.data(), static_cast<DWORD>(held.size()), &got, nullptr) && got == bytes.size() &&
               held == bytes;
        if (same) {
            FILETIME now{};
            ::GetSystemTimeAsFileTime(&now);
            same = ::SetFileTime(handle, nullptr, nullptr, &now) != 0;
        }
    }
    ::CloseHandle(handle);
    return same;
}

// The error of a move over target that the system refused: a target held open by another
// program (which shows as access denied) is told apart from one that may not be written.
int MoveError(const std::string& target, DWORD error)
{
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) {
        return static_cast<int>(error);
    }
    const HANDLE probe =
        ::CreateFileW(Wide(target).c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        const DWORD probeError = ::GetLastError();
        return static_cast<int>(probeError == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION : error);
    }
    ::CloseHandle(probe);
    return static_cast<int>(error);
}

// One attempt: false when the temporary was swept away before its move (start again).
bool ReplaceOnce(const std::string& target, std::string_view bytes, TReplacementKind kind,
                 const std::string& displayPath)
{
    // The temporary: a new file of a fresh name, hidden while it is one, open without delete
    // sharing so that no sweep takes it while this writer lives.
    std::string temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; handle == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = NewTemporaryName(target, kind);
        handle = ::CreateFileW(Wide(temporary).c_str(), GENERIC_WRITE | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                               CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt >= 100) {
                throw IoErrorFromSystem(static_cast<int>(error), TFileOperation::Create, displayPath);
            }
        }
    }
    const std::wstring wideTemporary = Wide(temporary);
    auto fail = [&](DWORD error, TFileOperation operation) {
        ::CloseHandle(handle);
        ::DeleteFileW(wideTemporary.c_str());
        throw IoErrorFromSystem(static_cast<int>(error), operation, displayPath);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 0x40000000));
        if (!::WriteFile(handle, bytes.data() + done, ask, &put, nullptr)) {
            fail(::GetLastError(), TFileOperation::Write);
        }
        if (put == 0) {
            fail(ERROR_DISK_FULL, TFileOperation::Write);
        }
        done += put;
    }
    // The replaced file is no temporary: it is shown like any other.
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (!::FlushFileBuffers(handle)) {
        fail(::GetLastError(), TFileOperation::Write);
    }
    ::SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic);
    if (!::CloseHandle(handle)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(wideTemporary.c_str());
        throw IoErrorFromSystem(static_cast<int>(error), TFileOperation::Close, displayPath);
    }
    if (!::MoveFileExW(wideTemporary.c_str(), Wide(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND && Attributes(temporary) == INVALID_FILE_ATTRIBUTES) {
            return false; // swept away by another writer: start again
        }
        ::DeleteFileW(wideTemporary.c_str());
        throw IoErrorFromSystem(MoveError(target, error), TFileOperation::Rename, displayPath);
    }
    return true;
}

} // namespace

std::string ReplacementTarget(const std::string& path, TReplacementKind kind)
{
    if (path.empty()) {
        throw EInOutError(IoCode::InvalidFilename);
    }
    if (kind == TReplacementKind::ToolOutput) {
        return path;
    }
    const std::string target = FollowLinks(path);
    if (IsLink(Attributes(target))) {
        // Still a link after every step: a loop (or a link the system cannot read), as an open
        // for writing would fail on it.
        throw IoErrorFromSystem(ERROR_CANT_RESOLVE_FILENAME, TFileOperation::Create, path);
    }
    const auto folder = StatusOf(FolderPath(target));
    if (!folder || !folder->Folder) {
        throw IoErrorFromSystem(ERROR_PATH_NOT_FOUND, TFileOperation::Create, path);
    }
    const DWORD attributes = Attributes(target);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            throw IoErrorFromSystem(Windows::ErrorDirectoryNotSupported, TFileOperation::Create, path);
        }
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            throw IoErrorFromSystem(ERROR_ACCESS_DENIED, TFileOperation::Create, path);
        }
    }
    return target;
}

TReplaceResult ReplaceWithBytes(const std::string& target, std::string_view bytes, TReplacementKind kind,
                                const std::string& displayPath)
{
    if (target.empty()) {
        throw EInOutError(IoCode::InvalidFilename);
    }
    if (kind == TReplacementKind::SpectrumFile && TargetAlreadyHolds(target, bytes)) {
        return TReplaceResult::Kept;
    }
    for (int attempt = 1;; ++attempt) {
        if (ReplaceOnce(target, bytes, kind, displayPath)) {
            return TReplaceResult::Replaced;
        }
        if (attempt == MaxAttempts) {
            throw IoErrorFromSystem(ERROR_FILE_NOT_FOUND, TFileOperation::Rename, displayPath);
        }
    }
}

std::string FolderOfFile(const std::string& path) { return FolderPath(path); }

int RemoveReplacementDebris(const std::string& folder) noexcept
{
    try {
        const std::string prefix = JoinPath(folder, "");
        WIN32_FIND_DATAW entry{};
        const HANDLE search = ::FindFirstFileW(Wide(prefix + ".tulvo-*.tmp").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) {
            return 0;
        }
        int removed = 0;
        do {
            const std::string name = Narrow(entry.cFileName, std::wcslen(entry.cFileName));
            if (!IsSpectrumTemporaryName(name) ||
                (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
                continue;
            }
            // A live writer holds its temporary open without delete sharing: the delete fails
            // on it, and succeeds only on the temporaries of writers that are gone.
            if (::DeleteFileW(Wide(prefix + name).c_str())) {
                ++removed;
            }
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
        return removed;
    } catch (...) {
        return 0;
    }
}

} // namespace Platform
