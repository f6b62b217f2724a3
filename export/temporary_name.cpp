#include "export/temporary_name.h"

#include <cstdint>
#include <string>

namespace kastrel::exporter {
namespace {

using Native = std::filesystem::path::string_type;
using Unit = std::filesystem::path::value_type;

constexpr std::size_t whole_name_limit = 32; // names up to this long are used whole
constexpr std::size_t kept_start = 24;
constexpr std::size_t tag_length = 6;

Native native(std::string_view ascii) {
    return Native(ascii.begin(), ascii.end());
}

const Native& marker() {
    static const Native text = native(".kastrel-");
    return text;
}

const Native& ending() {
    static const Native text = native(".tmp");
    return text;
}

// The first `count` units of `name`, without cutting a character in two.
Native start_of(const Native& name, std::size_t count) {
    if (name.size() <= count)
        return name;
    std::size_t end = count;
    if constexpr (sizeof(Unit) == 1) {
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
            --end; // a UTF-8 continuation byte
    } else {
        if ((static_cast<std::uint32_t>(name[end - 1]) & 0xFC00) == 0xD800)
            --end; // the first half of a surrogate pair
    }
    return name.substr(0, end);
}

// FNV-1a over the text's units, as six hexadecimal digits.
Native hash_text(const Native& text) {
    std::uint32_t hash = 2166136261u;
    for (const Unit unit : text) {
        hash ^= static_cast<std::uint32_t>(unit);
        hash *= 16777619u;
    }
    static constexpr char digits[] = "0123456789abcdef";
    Native result;
    for (int shift = 20; shift >= 0; shift -= 4)
        result += static_cast<Unit>(digits[(hash >> shift) & 0xF]);
    return result;
}

bool is_tag_unit(Unit unit) {
    return (unit >= '0' && unit <= '9') || (unit >= 'a' && unit <= 'f');
}

} // namespace

std::filesystem::path temporary_stem_beside(const std::filesystem::path& target) {
    const Native name = target.filename().native();
    if (name.size() <= whole_name_limit)
        return name;
    return start_of(name, kept_start) + static_cast<Unit>('~') + hash_text(name);
}

std::filesystem::path temporary_stem_elsewhere(const std::filesystem::path& target) {
    return start_of(target.filename().native(), kept_start) + static_cast<Unit>('~') +
           hash_text(target.native());
}

std::filesystem::path temporary_name(const std::filesystem::path& stem, std::string_view tag) {
    return stem.native() + marker() + native(tag) + ending();
}

bool is_temporary_for(const std::filesystem::path& name, const std::filesystem::path& stem) {
    const Native& text = name.native();
    const Native prefix = stem.native() + marker();
    if (text.size() != prefix.size() + tag_length + ending().size() || !text.starts_with(prefix) ||
        !text.ends_with(ending()))
        return false;
    for (std::size_t k = prefix.size(); k < prefix.size() + tag_length; ++k)
        if (!is_tag_unit(text[k]))
            return false;
    return true;
}

} // namespace kastrel::exporter
