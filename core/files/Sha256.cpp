#include "core/files/Sha256.h"

#include "core/files/TDataFile.h"

#include <array>
#include <nettle/sha2.h>

namespace {

std::string HexDigest(sha256_ctx& context)
{
    std::array<std::uint8_t, SHA256_DIGEST_SIZE> digest{};
    sha256_digest(&context, digest.size(), digest.data());
    static constexpr char Digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * digest.size());
    for (const std::uint8_t byte : digest) {
        hex += Digits[byte >> 4];
        hex += Digits[byte & 0x0F];
    }
    return hex;
}

} // namespace

std::string Sha256Hex(std::string_view bytes)
{
    sha256_ctx context;
    sha256_init(&context);
    sha256_update(&context, bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data()));
    return HexDigest(context);
}

std::string FileSha256Hex(const std::string& path)
{
    sha256_ctx context;
    sha256_init(&context);
    TDataFile file;
    file.Bind(path);
    file.OpenRead();
    std::array<std::uint8_t, 1 << 16> buffer;
    while (const std::size_t got = ReadUpTo(file.Handle(), buffer.data(), buffer.size(), path)) {
        sha256_update(&context, got, buffer.data());
    }
    file.Close();
    return HexDigest(context);
}
