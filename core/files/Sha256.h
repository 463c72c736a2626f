#pragma once

#include <string>
#include <string_view>

// SHA-256 digests (FIPS 180-4), as 64 lower-case hex digits: what identifies a mask file in a
// results database and a unit's file in its results. The report shows their first 16 digits.

// The digest of bytes.
std::string Sha256Hex(std::string_view bytes);

// The digest of all the bytes of the regular file path, read in pieces. Raises the EInOutError
// of a file that cannot be opened or read (TDataFile's).
std::string FileSha256Hex(const std::string& path);
