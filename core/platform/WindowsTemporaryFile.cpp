// Temporary files on Windows: CreateFileW with CREATE_NEW, hidden and open without delete sharing
// while they are written, then moved over their targets with MoveFileExW.

#include "core/platform/TemporaryFile.h"

#include "core/platform/WindowsWide.h"

#include <windows.h>

namespace Platform {

using Windows::AsHandle;
using Windows::Wide;

namespace {

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
        return static_cast<int>(::GetLastError() == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION : error);
    }
    ::CloseHandle(probe);
    return static_cast<int>(error);
}

} // namespace

TTemporaryFile::~TTemporaryFile()
{
    CloseFileQuietly(handle_);
    if (!name_.empty()) {
        ::DeleteFileW(Wide(name_).c_str());
    }
}

int TTemporaryFile::CreateNamed(const std::string& path, bool)
{
    const HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return static_cast<int>(::GetLastError());
    }
    handle_ = Windows::FromHandle(handle);
    name_ = path;
    return 0;
}

bool TTemporaryFile::CreateUnnamed(const std::string&) noexcept { return false; }

int TTemporaryFile::CloseForWriting() noexcept
{
    // The file is no temporary once it has its place: it is shown like any other.
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    ::SetFileInformationByHandle(AsHandle(handle_), FileBasicInfo, &basic, sizeof basic);
    const HANDLE handle = AsHandle(handle_);
    handle_ = NoFileHandle;
    return ::CloseHandle(handle) ? 0 : static_cast<int>(::GetLastError());
}

int TTemporaryFile::Link(const std::string&, bool) { return ERROR_NOT_SUPPORTED; }

int TTemporaryFile::RenameOver(const std::string& target)
{
    if (!::MoveFileExW(Wide(name_).c_str(), Wide(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return MoveError(target, ::GetLastError());
    }
    name_.clear();
    return 0;
}

bool RemoveUnheldFile(const std::string& path) noexcept
{
    try {
        const std::wstring wide = Wide(path);
        const DWORD attributes = ::GetFileAttributesW(wide.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES ||
            (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
            return false;
        }
        // A live writer holds its temporary open without delete sharing: the deletion fails on it.
        return ::DeleteFileW(wide.c_str()) != 0;
    } catch (...) {
        return false;
    }
}

} // namespace Platform
