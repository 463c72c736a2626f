#include "dsp/dspFloatControl.h"

#include <xmmintrin.h>

#include <cstdint>
#include <stdexcept>

namespace dspFloatControl {
namespace {

// x87 control word: precision control in bits 8-9 (11 = 64 bits), rounding
// control in bits 10-11 (00 = to nearest).
constexpr std::uint16_t X87Fields = 0x0F00;
constexpr std::uint16_t X87Exact = 0x0300;
// MXCSR: rounding control in bits 13-14 (00 = to nearest), flush-to-zero bit
// 15, denormals-are-zero bit 6.
constexpr std::uint32_t SseFields = 0xE040;
constexpr std::uint32_t SseExact = 0x0000;

std::uint16_t ReadX87() noexcept
{
    std::uint16_t word = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(word));
    return word;
}

void WriteX87(std::uint16_t word) noexcept { __asm__ __volatile__("fldcw %0" : : "m"(word)); }

} // namespace

bool ExactFloatControlActive() noexcept
{
    return (ReadX87() & X87Fields) == X87Exact && (_mm_getcsr() & SseFields) == SseExact;
}

void SetExactFloatControl()
{
    WriteX87(static_cast<std::uint16_t>((ReadX87() & ~X87Fields) | X87Exact));
    _mm_setcsr((_mm_getcsr() & ~SseFields) | SseExact);
    if (!ExactFloatControlActive()) {
        throw std::runtime_error("The floating-point control word cannot be set to 64-bit precision and rounding "
                                 "to nearest");
    }
}

} // namespace dspFloatControl
