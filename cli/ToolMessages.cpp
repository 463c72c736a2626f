#include "cli/ToolMessages.h"

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
    try {
        while (!text.empty()) {
            const std::size_t put = WriteSome(context.Err, text.data(), text.size(), "standard error");
            if (put == 0) {
                return;
            }
            text.remove_prefix(put);
        }
    } catch (const EInOutError&) {
        // Nowhere left to say it.
    }
}
