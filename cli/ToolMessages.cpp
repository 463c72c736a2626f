#include "cli/ToolMessages.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

bool ReasonAddsToMessage(int code, int errnum)
{
    switch (errnum) {
    case 0: return false;
    case ENOENT: return code != IoCode::FileNotFound;
    case EACCES: return code != IoCode::AccessDenied;
    case ENOSPC: return code != IoCode::DiskFull;
    case EMFILE: return code != IoCode::TooManyOpenFiles;
    default: return true;
    }
}

std::string ErrorText(std::string_view message, int code, int errnum)
{
    std::string text(message);
    if (ReasonAddsToMessage(code, errnum)) {
        // The untranslated description, whatever the locale: one language.
        const char* reason = ::strerrordesc_np(errnum);
        text += " (";
        text += reason != nullptr ? reason : "error " + std::to_string(errnum);
        text += ')';
    }
    return text;
}

std::string ErrorText(const EInOutError& error)
{
    return ErrorText(error.what(), error.ErrorCode(), error.SystemError());
}

std::string ErrorLine(std::string_view path, std::string_view message, int code, int errnum)
{
    std::string line(ToolName);
    line += ": ";
    line += path;
    line += ": ";
    line += ErrorText(message, code, errnum);
    line += '\n';
    return line;
}

std::string ErrorLine(std::string_view path, const EInOutError& error)
{
    return ErrorLine(error.Path().empty() ? path : std::string_view(error.Path()), error.what(), error.ErrorCode(),
                     error.SystemError());
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

std::string FailureMessage(const TBatchItem& item)
{
    std::string message = item.ErrorText;
    const std::string_view hint = InvalidOpHint(item.InvalidOpCause);
    if (!hint.empty()) {
        message += " (";
        message += hint;
        message += ')';
    }
    return message;
}

std::string WarningLine(std::string_view path, std::string_view text)
{
    std::string line(ToolName);
    line += ": warning: ";
    line += path;
    line += ": ";
    line += text;
    line += '\n';
    return line;
}

std::string NonconformingWarning(std::string_view path, const TWavHeaderVerdict& verdict)
{
    return WarningLine(path, verdict.Reason + " (expected " + ExpectedWavLayout() + "); analysed as raw samples");
}

void WriteToErr(const TToolContext& context, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t put = ::write(context.Err, text.data(), text.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(put));
    }
}
