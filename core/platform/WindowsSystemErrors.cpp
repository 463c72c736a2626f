// System errors on Windows: GetLastError's numbers, translated by one table that also holds an
// English reason of the program's own for each (never the system's localised text).

#include "core/platform/SystemErrors.h"

#include "core/platform/WindowsWide.h"

#include <windows.h>

namespace Platform {

namespace {

struct TMeaning {
    DWORD Number;
    TErrorCondition Condition;
    bool Plain;
    const char* Reason;
};

using C = TErrorCondition;

constexpr TMeaning Meanings[] = {
    {ERROR_FILE_NOT_FOUND, C::NotFound, true, "No such file or directory"},
    {ERROR_PATH_NOT_FOUND, C::BadName, false, "No such file or directory"},
    {ERROR_INVALID_NAME, C::BadName, false, "Invalid file name"},
    {ERROR_BAD_PATHNAME, C::BadName, false, "Invalid file name"},
    {ERROR_DIRECTORY, C::BadName, false, "Not a directory"},
    {ERROR_FILENAME_EXCED_RANGE, C::BadName, false, "File name too long"},
    {ERROR_INVALID_DRIVE, C::BadName, false, "No such drive"},
    {ERROR_BAD_NETPATH, C::BadName, false, "Network path not found"},
    {ERROR_BAD_NET_NAME, C::BadName, false, "Network path not found"},
    {ERROR_TOO_MANY_OPEN_FILES, C::TooManyOpenFiles, true, "Too many open files"},
    {ERROR_ACCESS_DENIED, C::Denied, true, "Permission denied"},
    {ERROR_WRITE_PROTECT, C::Denied, false, "Read-only file system"},
    {Windows::ErrorDirectoryNotSupported, C::Denied, false, "Is a directory"},
    {ERROR_SHARING_VIOLATION, C::InUse, false, "the file is open in another program"},
    {ERROR_LOCK_VIOLATION, C::InUse, false, "the file is open in another program"},
    {ERROR_DISK_FULL, C::NoSpace, true, "No space left on device"},
    {ERROR_HANDLE_DISK_FULL, C::NoSpace, true, "No space left on device"},
    {Windows::ErrorDiskQuotaExceeded, C::NoSpace, false, "Disk quota exceeded"},
    {ERROR_FILE_TOO_LARGE, C::NoSpace, false, "File too large"},
    {ERROR_FILE_EXISTS, C::Exists, false, ""},
    {ERROR_ALREADY_EXISTS, C::Exists, false, ""},
};

const TMeaning* MeaningOf(int number) noexcept
{
    for (const auto& meaning : Meanings) {
        if (static_cast<int>(meaning.Number) == number) {
            return &meaning;
        }
    }
    return nullptr;
}

} // namespace

TSystemError TranslateSystemError(int number) noexcept
{
    const TMeaning* meaning = MeaningOf(number);
    return meaning != nullptr ? TSystemError{meaning->Condition, meaning->Plain} : TSystemError{};
}

std::string SystemErrorText(int number)
{
    const TMeaning* meaning = MeaningOf(number);
    return meaning != nullptr ? meaning->Reason : "";
}

} // namespace Platform
