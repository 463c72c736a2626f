#include "cli/TOutputStream.h"

namespace {
constexpr std::size_t BufferLimit = 64 * 1024;
}

TOutputStream::TOutputStream(Platform::TFileHandle handle, std::string name) : handle_(handle), name_(std::move(name))
{}

TOutputStream::TOutputStream(const std::string& path, bool append) : owned_(true), name_(path)
{
    handle_ = append ? OpenForAppending(path) : CreateOrTruncate(path);
}

TOutputStream::~TOutputStream()
{
    if (owned_) {
        Platform::CloseFileQuietly(handle_);
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
    if (owned_ && handle_ != Platform::NoFileHandle) {
        const Platform::TFileHandle handle = handle_;
        handle_ = Platform::NoFileHandle;
        CloseFile(handle, name_);
    }
}

void TOutputStream::WriteOut(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t put = WriteSome(handle_, text.data(), text.size(), name_);
        if (put == 0) {
            throw EInOutError(IoCode::DiskFull, name_);
        }
        text.remove_prefix(put);
    }
}
