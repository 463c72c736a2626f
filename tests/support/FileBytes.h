#pragma once

// Files and descriptors as the tests see them: whole files as bytes, folder
// listings, and the number of descriptors the process holds.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// Writes bytes as the whole file path (created or truncated); throws
// std::runtime_error when that fails.
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
// The whole file path; empty when it cannot be read.
std::vector<std::uint8_t> ReadBytes(const std::string& path);
bool Exists(const std::string& path);
// Names of the entries of a folder, sorted.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder);
// Number of descriptors this process has open.
int OpenDescriptorCount();
// Processor time this process has used so far, user and system, in milliseconds. (std::clock
// cannot serve: Windows' C runtime gives the wall time since the start with it.)
double ProcessorTimeMs();

} // namespace testsupport
