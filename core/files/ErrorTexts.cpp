#include "core/files/ErrorTexts.h"

#include "core/files/IoErrorMessages.h"

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
