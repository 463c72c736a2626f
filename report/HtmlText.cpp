#include "report/HtmlText.h"

#include <cstdint>

namespace {

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD"; // U+FFFD

// The length of the valid UTF-8 sequence at the start of bytes (2 to 4), 0
// when none starts there. Only the shortest form of a code point up to
// U+10FFFF, never a surrogate (RFC 3629's table).
std::size_t SequenceLength(std::string_view bytes)
{
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(bytes[k]); };
    const auto continuation = [&](std::size_t k, std::uint8_t low = 0x80, std::uint8_t high = 0xBF) {
        return k < bytes.size() && byte(k) >= low && byte(k) <= high;
    };
    const std::uint8_t lead = byte(0);
    if (lead >= 0xC2 && lead <= 0xDF) {
        return continuation(1) ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        const std::uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;
        const std::uint8_t high = lead == 0xED ? 0x9F : 0xBF;
        return continuation(1, low, high) && continuation(2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const std::uint8_t low = lead == 0xF0 ? 0x90 : 0x80;
        const std::uint8_t high = lead == 0xF4 ? 0x8F : 0xBF;
        return continuation(1, low, high) && continuation(2) && continuation(3) ? 4 : 0;
    }
    return 0;
}

// The control picture of an ASCII control character, U+2400 + c (U+2421 for DEL).
void AppendControlPicture(std::string& out, std::uint8_t c)
{
    const unsigned codePoint = c == 0x7F ? 0x2421 : 0x2400 + c;
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
}

} // namespace

std::string HtmlEscaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t k = 0; k < text.size();) {
        const auto c = static_cast<std::uint8_t>(text[k]);
        if (c >= 0x80) {
            const std::size_t length = SequenceLength(text.substr(k));
            // U+0080..U+009F, the C1 controls, are "\xC2\x80".."\xC2\x9F".
            const bool c1Control = length == 2 && c == 0xC2 && static_cast<std::uint8_t>(text[k + 1]) <= 0x9F;
            if (length == 0 || c1Control) {
                out += ReplacementCharacter;
                k += length == 0 ? 1 : length;
            } else {
                out.append(text.substr(k, length));
                k += length;
            }
            continue;
        }
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                AppendControlPicture(out, c);
            } else {
                out += static_cast<char>(c);
            }
        }
        ++k;
    }
    return out;
}
