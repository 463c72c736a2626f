#include "core/results/Uuid.h"

#include "core/platform/RandomBytes.h"

#include <array>

std::string NewUuidV7(std::int64_t unixMs)
{
    std::array<std::uint8_t, 16> bytes{};
    Platform::FillRandomBytes(bytes.data() + 6, 10);
    const auto time = static_cast<std::uint64_t>(unixMs) & 0xFFFFFFFFFFFFu;
    for (int k = 0; k < 6; ++k) {
        bytes[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(time >> (8 * (5 - k)));
    }
    bytes[6] = static_cast<std::uint8_t>(0x70 | (bytes[6] & 0x0F)); // version 7, 12 random bits after it
    bytes[8] = static_cast<std::uint8_t>(0x80 | (bytes[8] & 0x3F)); // variant 10, 62 random bits after it
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(36);
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        if (k == 4 || k == 6 || k == 8 || k == 10) {
            text += '-';
        }
        text += Digits[bytes[k] >> 4];
        text += Digits[bytes[k] & 0x0F];
    }
    return text;
}
