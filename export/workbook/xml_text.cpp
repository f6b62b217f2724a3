#include "export/workbook/xml_text.h"

#include <cstdint>
#include <cstdio>

namespace kastrel::exporter {
namespace {

constexpr char32_t replacement = 0xFFFD;

// The next character of UTF-8 `text` from `at`, which it moves past it; a
// malformed sequence (overlong, a surrogate, beyond U+10FFFF, cut short) is
// one U+FFFD per byte that cannot start a character.
char32_t next_character(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const std::uint8_t lead = byte(at);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        ++at;
        return replacement;
    }
    if (at + length > text.size()) {
        ++at;
        return replacement;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80) {
            ++at;
            return replacement;
        }
        value = (value << 6) | (byte(at + k) & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++at;
        return replacement;
    }
    at += length;
    return value;
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void append_escaped(std::string& out, char32_t c) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "_x%04X_", static_cast<unsigned>(c));
    out += escaped;
}

bool is_hex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Whether `text` holds Excel's escape _xHHHH_ at `at`.
bool escape_at(std::string_view text, std::size_t at) {
    if (at + 7 > text.size() || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_')
        return false;
    for (std::size_t k = at + 2; k < at + 6; ++k)
        if (!is_hex(text[k]))
            return false;
    return true;
}

bool is_xml_character(char32_t c) {
    return c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

} // namespace

std::string cell_text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (escape_at(text, at)) {
            append_escaped(out, U'_');
            ++at;
            continue;
        }
        const char32_t c = next_character(text, at);
        if (c == 0 || c == 0xFFFE || c == 0xFFFF)
            append_escaped(out, c);
        else
            append_utf8(out, c); // the library escapes the other controls itself
    }
    return out;
}

std::string plain_xml_text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = next_character(text, at);
        append_utf8(out, is_xml_character(c) ? c : replacement);
    }
    return out;
}

std::size_t excel_length(std::string_view text) {
    std::size_t length = 0;
    for (std::size_t at = 0; at < text.size();)
        length += next_character(text, at) >= 0x10000 ? 2 : 1;
    return length;
}

} // namespace kastrel::exporter
