#include "core/files/ErrorMessages.h"

#include "core/base/Paths.h"
#include "core/platform/FileStatus.h"

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

EInOutError IoErrorFor(TErrorCondition condition, int number, TFileOperation operation, const std::string& path)
{
    int code = 0; // none of the program's own: "I/O error N"
    switch (condition) {
    case TErrorCondition::NotFound:
        code = operation == TFileOperation::Open && ParentFolderExists(path) ? IoCode::FileNotFound
                                                                             : IoCode::InvalidFilename;
        break;
    case TErrorCondition::BadName: code = IoCode::InvalidFilename; break;
    case TErrorCondition::TooManyOpenFiles: code = IoCode::TooManyOpenFiles; break;
    case TErrorCondition::Denied:
    case TErrorCondition::InUse: code = IoCode::AccessDenied; break;
    case TErrorCondition::NoSpace:
        code = operation == TFileOperation::Write || operation == TFileOperation::Close ? IoCode::DiskFull : 0;
        break;
    case TErrorCondition::Exists:
    case TErrorCondition::Other: break;
    }
    return code != 0 ? EInOutError(code, path, number) : EInOutError::OtherSystemError(number, path);
}

EInOutError IoErrorFromSystem(int number, TFileOperation operation, const std::string& path)
{
    return IoErrorFor(Platform::TranslateSystemError(number).Condition, number, operation, path);
}

EInOutError IoErrorFromSystem(const Platform::ESystemError& error)
{
    return IoErrorFromSystem(error.Number(), error.Operation(), error.Name());
}

bool ReasonAddsTo(int ioCode, Platform::TSystemError meaning)
{
    return !meaning.Plain || ioCode != CodeSayingAll(meaning.Condition);
}

std::string ReasonForMessage(int ioCode, int number)
{
    if (number == 0 || !ReasonAddsTo(ioCode, Platform::TranslateSystemError(number))) {
        return {};
    }
    return Platform::SystemErrorText(number);
}

std::string ErrorText(std::string_view message, int code, int errnum)
{
    std::string text(message);
    const std::string reason = ReasonForMessage(code, errnum);
    if (!reason.empty()) {
        text += " (";
        text += reason;
        text += ')';
    }
    return text;
}

std::string ErrorText(const EInOutError& error)
{
    return ErrorText(error.what(), error.ErrorCode(), error.SystemError());
}

std::string_view InvalidOpHint(TInvalidOpCause cause)
{
    switch (cause) {
    case TInvalidOpCause::SilentRecording: return "all samples are zero";
    case TInvalidOpCause::EmptyBand: return "the band is empty";
    case TInvalidOpCause::Unknown: break;
    }
    return {};
}

std::string FailureText(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const EInOutError& e) {
        return ErrorText(e);
    } catch (const EInvalidOp& e) {
        const std::string_view hint = InvalidOpHint(e.Cause());
        return hint.empty() ? std::string(e.what()) : std::string(e.what()) + " (" + std::string(hint) + ")";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}
