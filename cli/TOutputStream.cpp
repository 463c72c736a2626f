#include "cli/TOutputStream.h"

#include "core/TDataFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr std::size_t BufferLimit = 64 * 1024;
}

TOutputStream::TOutputStream(int handle, std::string name) : handle_(handle), name_(std::move(name)) {}

TOutputStream::TOutputStream(const std::string& path, bool append) : owned_(true), name_(path)
{
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
    do {
        handle_ = ::open(path.c_str(), flags, 0666);
    } while (handle_ < 0 && errno == EINTR);
    if (handle_ < 0) {
        throw IoErrorFromErrno(errno, TFileOperation::Create, path);
    }
}

TOutputStream::~TOutputStream()
{
    if (owned_ && handle_ >= 0) {
        ::close(handle_);
    }
}

void TOutputStream::Write(std::string_view text)
{
    buffer_ += text;
    if (buffer_.size() >= BufferLimit) {
        Flush();
    }
}

void TOutputStream::Flush()
{
    if (!buffer_.empty()) {
        // Emptied first: after a failure nothing is written twice.
        const std::string pending = std::move(buffer_);
        buffer_.clear();
        WriteOut(pending);
    }
}

void TOutputStream::WriteWhole(std::string_view text)
{
    Flush();
    WriteOut(text);
}

void TOutputStream::Close()
{
    Flush();
    if (owned_ && handle_ >= 0) {
        const int handle = handle_;
        handle_ = -1;
        if (::close(handle) != 0 && errno != EINTR) {
            throw IoErrorFromErrno(errno, TFileOperation::Close, name_);
        }
    }
}

void TOutputStream::WriteOut(std::string_view text)
{
    while (!text.empty()) {
        const ssize_t put = ::write(handle_, text.data(), text.size());
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw IoErrorFromErrno(errno, TFileOperation::Write, name_);
        }
        if (put == 0) {
            throw EInOutError(IoCode::DiskFull, name_);
        }
        text.remove_prefix(static_cast<std::size_t>(put));
    }
}
