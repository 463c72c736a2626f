#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Files for fuzz targets whose code under test reads paths: bytes put in an
// in-memory file, named by its /proc/self/fd path, and a private folder.

// Makes bytes the whole contents of one in-memory regular file (the same
// file on every call) and returns a path that opens it.
std::string BytesAsFile(const std::uint8_t* data, std::size_t size);

// A folder of this process's own, made on the first call, removed at exit.
const std::string& ScratchFolder();
