#include "export/aqdef/windows_1252.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kastrel::exporter {
namespace {

// The code points that bytes 0x80..0x9F stand for; 0 where the byte is unused.
constexpr std::array<char32_t, 32> high_controls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char byte_for(char32_t code) {
    if (code < 0x20 || code == 0x7F)
        return '?';
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (std::size_t k = 0; k < high_controls.size(); ++k)
        if (high_controls[k] != 0 && high_controls[k] == code)
            return static_cast<char>(0x80 + k);
    return '?';
}

// The code point at `at`, advancing past it; nothing for a malformed
// sequence (then past its first byte).
std::optional<char32_t> next_code(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<std::uint8_t>(text[at++]);
    if (lead < 0x80)
        return lead;
    int length = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3;
        code = lead & 0x07;
    } else {
        return std::nullopt;
    }
    std::size_t k = at;
    for (int n = 0; n < length; ++n, ++k) {
        if (k >= text.size() || (static_cast<std::uint8_t>(text[k]) & 0xC0) != 0x80)
            return std::nullopt;
        code = (code << 6) | (static_cast<std::uint8_t>(text[k]) & 0x3F);
    }
    constexpr std::array<char32_t, 4> smallest = {0, 0x80, 0x800, 0x10000};
    if (code < smallest[static_cast<std::size_t>(length)] || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    at = k;
    return code;
}

} // namespace

std::string to_windows_1252(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> code = next_code(utf8, at);
        bytes += code ? byte_for(*code) : '?';
    }
    return bytes;
}

} // namespace kastrel::exporter
