#pragma once

#include "core/base/TulvoErrors.h"
#include "core/platform/Files.h"

#include <cstddef>
#include <string>

// Files as raw bytes through the system's handles (core/platform/Files.h), with the program's
// rules and errors: the one way above the platform layer to its primitives that fail. Each call
// does what the primitive of the same name does and raises EInOutError on failure, its code by
// IoErrorFromSystem (core/files/ErrorMessages.h) from the system's error number, the operation
// and the name the primitive reports. An empty path names no file: 3 "Invalid filename", before
// the system is asked.

// What OpenForReading accepts. RegularOnly: regular files (through symbolic links too); anything
// else (a FIFO, socket, device) is refused with code 5 without waiting for it. AnyReadable:
// anything that opens for reading, pipes and devices included, read with blocking reads (a FIFO's
// open waits for a writer). A folder is refused with code 5 either way, and so is a socket, which
// no open reaches.
enum class TFileKinds { RegularOnly, AnyReadable };

// Platform::OpenForReading of path, accepting what kinds says.
Platform::TFileHandle OpenForReading(const std::string& path, TFileKinds kinds);

// Platform::OpenForWriting of path.
Platform::TFileHandle OpenForWriting(const std::string& path);

// Platform::CreateOrTruncate of path.
Platform::TFileHandle CreateOrTruncate(const std::string& path);

// Platform::CreateNew of path: Platform::NoFileHandle when the name is taken.
Platform::TFileHandle CreateNew(const std::string& path);

// Platform::OpenForAppending of path.
Platform::TFileHandle OpenForAppending(const std::string& path);

// Platform::ReadSome: up to count bytes, 0 only at the end; errors name name.
std::size_t ReadSome(Platform::TFileHandle handle, void* buffer, std::size_t count, const std::string& name);

// Platform::WriteSome: up to count bytes; errors name name.
std::size_t WriteSome(Platform::TFileHandle handle, const void* buffer, std::size_t count, const std::string& name);

// Platform::TruncateAtPosition; errors name name.
void TruncateAtPosition(Platform::TFileHandle handle, const std::string& name);

// Platform::CloseFile: the handle is released even when the close fails; errors name name.
void CloseFile(Platform::TFileHandle handle, const std::string& name);

// Platform::FlushFile: the file's data and size to stable storage; errors name name.
void FlushFile(Platform::TFileHandle handle, const std::string& name);

// Reads at handle's position until count bytes are had or the file ends; returns how many were
// read. Errors as ReadSome, naming name.
std::size_t ReadUpTo(Platform::TFileHandle handle, void* buffer, std::size_t count, const std::string& name);

// Writes all count bytes at handle's position: 101 "Disk full" when the system stores none of
// what is left; other errors as WriteSome, naming name.
void WriteAllTo(Platform::TFileHandle handle, const void* buffer, std::size_t count, const std::string& name);

// Refuses an empty path with 3 "Invalid filename": no file can have it.
void RefuseEmptyPath(const std::string& path);
