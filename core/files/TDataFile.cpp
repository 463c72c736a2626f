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
    handle_ = Platform::OpenForReading(path_, kinds);
}

void TDataFile::Create()
{
    CloseQuietly();
    handle_ = Platform::CreateOrTruncate(path_);
}

void TDataFile::OpenWrite()
{
    CloseQuietly();
    handle_ = Platform::OpenForWriting(path_);
}

bool TDataFile::CreateExclusive()
{
    CloseQuietly();
    handle_ = Platform::CreateNew(path_);
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
    Platform::TruncateAtPosition(handle_, path_);
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
    Platform::CloseFile(handle, path_);
}

void TDataFile::CloseQuietly() noexcept
{
    Platform::CloseFileQuietly(handle_);
    handle_ = Platform::NoFileHandle;
}

std::size_t ReadUpTo(Platform::TFileHandle handle, void* buffer, std::size_t count, const std::string& name)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const std::size_t got = Platform::ReadSome(handle, bytes + done, count - done, name);
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

void WriteAllTo(Platform::TFileHandle handle, const void* buffer, std::size_t count, const std::string& name)
{
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const std::size_t put = Platform::WriteSome(handle, bytes + done, count - done, name);
        if (put == 0) {
            throw EInOutError(IoCode::DiskFull, name);
        }
        done += put;
    }
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
