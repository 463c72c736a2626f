#include "core/IoErrorMessages.h"

#include "core/Paths.h"
#include "core/platform/FileStatus.h"
#include "core/platform/SystemErrors.h"

using Platform::TErrorCondition;

namespace {

// True when the folder that would hold path exists as a folder.
bool ParentFolderExists(const std::string& path)
{
    if (FileNameStart(path) == 0) {
        return true; // the current folder
    }
    const auto status = Platform::StatusOf(FolderPath(path));
    return status && status->Folder;
}

// The I/O code whose message a plain number of condition only repeats; 0 for none.
int CodeSayingAll(TErrorCondition condition)
{
    switch (condition) {
    case TErrorCondition::NotFound: return IoCode::FileNotFound;
    case TErrorCondition::Denied: return IoCode::AccessDenied;
    case TErrorCondition::NoSpace: return IoCode::DiskFull;
    case TErrorCondition::TooManyOpenFiles: return IoCode::TooManyOpenFiles;
    default: return 0;
    }
}

} // namespace

EInOutError IoErrorFromSystem(int number, TFileOperation operation, const std::string& path)
{
    if (path.empty()) {
        return EInOutError(IoCode::InvalidFilename, path, number);
    }
    switch (Platform::TranslateSystemError(number).Condition) {
    case TErrorCondition::NotFound:
        if (operation == TFileOperation::Open && ParentFolderExists(path)) {
            return EInOutError(IoCode::FileNotFound, path, number);
        }
        return EInOutError(IoCode::InvalidFilename, path, number);
    case TErrorCondition::BadName: return EInOutError(IoCode::InvalidFilename, path, number);
    case TErrorCondition::TooManyOpenFiles: return EInOutError(IoCode::TooManyOpenFiles, path, number);
    case TErrorCondition::Denied:
    case TErrorCondition::InUse: return EInOutError(IoCode::AccessDenied, path, number);
    case TErrorCondition::NoSpace:
        if (operation == TFileOperation::Write || operation == TFileOperation::Close) {
            return EInOutError(IoCode::DiskFull, path, number);
        }
        return EInOutError::OtherSystemError(number, path);
    case TErrorCondition::Exists:
    case TErrorCondition::Other: break;
    }
    return EInOutError::OtherSystemError(number, path);
}

std::string ReasonForMessage(int ioCode, int number)
{
    if (number == 0) {
        return {};
    }
    const Platform::TSystemError error = Platform::TranslateSystemError(number);
    if (error.Plain && ioCode == CodeSayingAll(error.Condition)) {
        return {};
    }
    return Platform::SystemErrorText(number);
}
