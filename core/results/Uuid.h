#pragma once

#include <cstdint>
#include <string>

// A new identity for a run or a result: a UUIDv7 (RFC 9562) in lower-case text,
// "0190f5c2-7d1a-7b3e-9f00-1c2d3e4f5a6b": unixMs (milliseconds since 1970-01-01T00:00:00Z, 0 to
// 2^48 - 1) in its first 48 bits, so that identities sort by their time, the version 7, the
// variant 10, and 74 random bits from the system's generator (Platform::FillRandomBytes), so that
// no two hosts make the same one.
std::string NewUuidV7(std::int64_t unixMs);
