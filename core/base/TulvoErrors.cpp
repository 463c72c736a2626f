#include "core/base/TulvoErrors.h"

#include <utility>

EInOutError::EInOutError(int code) : EInOutError(code, MessageForCode(code), {}, 0) {}

EInOutError::EInOutError(int code, std::string path, int errnum)
    : EInOutError(code, MessageForCode(code), std::move(path), errnum)
{}

EInOutError::EInOutError(int code, const std::string& message, std::string path, int errnum)
    : std::runtime_error(message), code_(code), path_(std::move(path)), errnum_(errnum)
{}

EInOutError EInOutError::OtherSystemError(int errnum, std::string path)
{
    return EInOutError(errnum, "I/O error " + std::to_string(errnum), std::move(path), errnum);
}

EInOutError EInOutError::WithPath(std::string path) const
{
    return EInOutError(code_, what(), std::move(path), errnum_);
}

std::string EInOutError::MessageForCode(int code)
{
    switch (code) {
    case IoCode::FileNotFound: return "File not found";
    case IoCode::InvalidFilename: return "Invalid filename";
    case IoCode::TooManyOpenFiles: return "Too many open files";
    case IoCode::AccessDenied: return "File access denied";
    case IoCode::ReadBeyondEnd: return "Read beyond end of file";
    case IoCode::DiskFull: return "Disk full";
    case IoCode::FileNotOpen: return "File not open";
    case IoCode::InvalidNumericInput: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
    }
}

EInvalidOp::EInvalidOp(TInvalidOpCause cause) : EMathError("Invalid floating point operation"), cause_(cause) {}

EZeroDivide::EZeroDivide() : EMathError("Floating point division by zero") {}

EOverflow::EOverflow() : EMathError("Floating point overflow") {}

EContentError::EContentError(const std::string& message, std::string path, int line)
    : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + message : message), path_(std::move(path)),
      line_(line)
{}

std::string ErrorFilePath(const std::exception& error)
{
    if (const auto* io = dynamic_cast<const EInOutError*>(&error)) {
        return io->Path();
    }
    if (const auto* math = dynamic_cast<const EMathError*>(&error)) {
        return math->Path();
    }
    if (const auto* content = dynamic_cast<const EContentError*>(&error)) {
        return content->Path();
    }
    return {};
}

namespace {

// A copy of error naming path, thrown as its own class (which handlers pick
// it by), never as a base.
template <class E> [[noreturn]] void ThrowNamed(const E& error, const std::string& path)
{
    E named(error);
    named.SetPath(path);
    throw named;
}

} // namespace

void RethrowNamingFile(const std::exception_ptr& error, const std::string& path)
{
    try {
        std::rethrow_exception(error);
    } catch (const EInOutError& e) {
        throw e.WithPath(path);
    } catch (const EInvalidOp& e) {
        ThrowNamed(e, path);
    } catch (const EZeroDivide& e) {
        ThrowNamed(e, path);
    } catch (const EOverflow& e) {
        ThrowNamed(e, path);
    } catch (const EMathError& e) {
        ThrowNamed(e, path);
    } catch (const EContentError& e) {
        ThrowNamed(e, path);
    }
}

std::string ErrorBoxText(const std::string& message)
{
    // Compared as unsigned bytes: the last byte of a multi-byte UTF-8
    // character is 0x80..0xBF, so a text ending in a Cyrillic letter gets its
    // full stop like one ending in a Latin letter.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        return message + ".";
    }
    return message;
}
