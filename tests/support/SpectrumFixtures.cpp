#include "tests/support/SpectrumFixtures.h"

#include "tests/support/FileBytes.h"

#include <cstring>

namespace testsupport {

std::vector<std::uint8_t> SpectrumFileBytes(long double scale, const TSpectrumCodes& codes)
{
    static_assert(sizeof(long double) >= 10, "the scale is the 80-bit extended format");
    std::vector<std::uint8_t> bytes(10 + 2 * codes.size());
    std::memcpy(bytes.data(), &scale, 10);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const auto code = static_cast<std::uint16_t>(codes[i]);
        bytes[10 + 2 * i] = static_cast<std::uint8_t>(code & 0xFF);
        bytes[11 + 2 * i] = static_cast<std::uint8_t>(code >> 8);
    }
    return bytes;
}

void WriteSpectrumFixture(const std::string& path, long double scale, const TSpectrumCodes& codes)
{
    WriteBytes(path, SpectrumFileBytes(scale, codes));
}

} // namespace testsupport
