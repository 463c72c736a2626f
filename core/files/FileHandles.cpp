#include "core/files/FileHandles.h"

#include "core/files/ErrorMessages.h"
#include "core/platform/FileStatus.h"
#include "core/platform/Flushing.h"

namespace {

// What call returns, a failure of the primitive it calls raised as the program's I/O error.
template <class TCall> auto Translated(TCall call) -> decltype(call())
{
    try {
        return call();
    } catch (const Platform::ESystemError& e) {
        throw IoErrorFromSystem(e);
    }
}

} // namespace

void RefuseEmptyPath(const std::string& path)
{
    if (path.empty()) {
        throw EInOutError(IoCode::InvalidFilename);
    }
}

Platform::TFileHandle OpenForReading(const std::string& path, TFileKinds kinds)
{
    RefuseEmptyPath(path);
    const bool anyKind = kinds == TFileKinds::AnyReadable;
    Platform::TFileHandle handle = Platform::NoFileHandle;
    try {
        // Only what may be any kind of file is opened in the way that waits: the open of a FIFO
        // waits for a writer, that of some devices for the device.
        handle = Platform::OpenForReading(path, anyKind);
    } catch (const Platform::ESystemError& e) {
        if (const auto status = Platform::StatusOf(path); status && status->Socket) {
            throw EInOutError(IoCode::AccessDenied, path, e.Number());
        }
        throw IoErrorFromSystem(e);
    }
    if (!anyKind) {
        if (const auto status = Platform::StatusOf(handle); status && !status->Regular) {
            Platform::CloseFileQuietly(handle);
            throw EInOutError(IoCode::AccessDenied, path, 0);
        }
    }
    return handle;
}

Platform::TFileHandle OpenForWriting(const std::string& path)
{
    RefuseEmptyPath(path);
    return Translated([&] { return Platform::OpenForWriting(path); });
}

Platform::TFileHandle CreateOrTruncate(const std::string& path)
{
    RefuseEmptyPath(path);
    return Translated([&] { return Platform::CreateOrTruncate(path); });
}

Platform::TFileHandle CreateNew(const std::string& path)
{
    RefuseEmptyPath(path);
    return Translated([&] { return Platform::CreateNew(path); });
}

Platform::TFileHandle OpenForAppending(const std::string& path)
{
    RefuseEmptyPath(path);
    return Translated([&] { return Platform::OpenForAppending(path); });
}

std::size_t ReadSome(Platform::TFileHandle handle, void* buffer, std::size_t count, const std::string& name)
{
    return Translated([&] { return Platform::ReadSome(handle, buffer, count, name); });
}

std::size_t WriteSome(Platform::TFileHandle handle, const void* buffer, std::size_t count, const std::string& name)
{
    return Translated([&] { return Platform::WriteSome(handle, buffer, count, name); });
}

void TruncateAtPosition(Platform::TFileHandle handle, const std::string& name)
{
    Translated([&] { Platform::TruncateAtPosition(handle, name); });
}

void CloseFile(Platform::TFileHandle handle, const std::string& name)
{
    Translated([&] { Platform::CloseFile(handle, name); });
}

void FlushFile(Platform::TFileHandle handle, const std::string& name)
{
    Translated([&] { Platform::FlushFile(handle, name); });
}

std::size_t ReadUpTo(Platform::TFileHandle handle, void* buffer, std::size_t count, const std::string& name)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const std::size_t got = ReadSome(handle, bytes + done, count - done, name);
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
        const std::size_t put = WriteSome(handle, bytes + done, count - done, name);
        if (put == 0) {
            throw EInOutError(IoCode::DiskFull, name);
        }
        done += put;
    }
}
