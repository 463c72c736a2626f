#include "core/files/TDataFile.h"

TDataFile::~TDataFile() { CloseQuietly(); }

void TDataFile::Bind(const std::string& path)
{
    CloseQuietly();
    path_ = path;
}

void TDataFile::OpenRead(TFileKinds kinds)
{
    CloseQuietly();
    handle_ = OpenForReading(path_, kinds);
}

void TDataFile::Create()
{
    CloseQuietly();
    handle_ = CreateOrTruncate(path_);
}

void TDataFile::OpenWrite()
{
    CloseQuietly();
    handle_ = OpenForWriting(path_);
}

bool TDataFile::CreateExclusive()
{
    CloseQuietly();
    handle_ = CreateNew(path_);
    return IsOpen();
}

void TDataFile::Attach(const std::string& path, Platform::TFileHandle handle)
{
    CloseQuietly();
    path_ = path;
    handle_ = handle;
}

void TDataFile::ReadExactly(void* buffer, std::size_t count)
{
    if (!IsOpen()) {
        throw EInOutError(IoCode::FileNotOpen);
    }
    if (ReadUpTo(handle_, buffer, count, path_) < count) {
        throw EInOutError(IoCode::ReadBeyondEnd, path_);
    }
}

void TDataFile::WriteAll(const void* buffer, std::size_t count)
{
    if (!IsOpen()) {
        throw EInOutError(IoCode::FileNotOpen);
    }
    WriteAllTo(handle_, buffer, count, path_);
}

void TDataFile::TruncateHere()
{
    if (!IsOpen()) {
        throw EInOutError(IoCode::FileNotOpen);
    }
    TruncateAtPosition(handle_, path_);
}

void TDataFile::Close()
{
    if (!IsOpen()) {
        throw EInOutError(IoCode::FileNotOpen);
    }
    // The handle is released even when the close reports an error, so it is
    // never closed a second time.
    const Platform::TFileHandle handle = handle_;
    handle_ = Platform::NoFileHandle;
    CloseFile(handle, path_);
}

void TDataFile::CloseQuietly() noexcept
{
    Platform::CloseFileQuietly(handle_);
    handle_ = Platform::NoFileHandle;
}

std::string ReadFileStart(const std::string& path, std::size_t count) noexcept
{
    try {
        TDataFile file;
        file.Bind(path);
        file.OpenRead(TFileKinds::RegularOnly);
        std::string bytes(count, '\0');
        bytes.resize(ReadUpTo(file.Handle(), bytes.data(), count, path));
        return bytes;
    } catch (...) {
        return {};
    }
}
