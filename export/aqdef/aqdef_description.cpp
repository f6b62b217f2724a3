#include "export/aqdef/aqdef_description.h"

#include <charconv>

namespace kastrel::exporter {
namespace {

// The value of a line "KEY/INDEX VALUE" for `key`; INDEX is set. False for
// another key or a line of another form.
bool keyed_value(std::string_view line, std::string_view key, std::size_t& index,
                 std::string_view& value) {
    if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != '/')
        return false;
    const char* first = line.data() + key.size() + 1;
    const char* last = line.data() + line.size();
    const auto [end, error] = std::from_chars(first, last, index);
    if (error != std::errc() || end == last || *end != ' ')
        return false;
    value = std::string_view(end + 1, static_cast<std::size_t>(last - end - 1));
    return true;
}

} // namespace

bool FileDescription::matches(std::string_view want_part,
                              const std::vector<std::string>& want_numbers) const {
    return has_part && !disordered && part == want_part && numbers == want_numbers;
}

FileDescription read_description(std::string_view bytes) {
    FileDescription description;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!line.starts_with('K'))
            continue; // a value line
        std::size_t index = 0;
        std::string_view value;
        if (keyed_value(line, "K1001", index, value) && index == 1) {
            if (description.has_part)
                description.disordered = true;
            description.has_part = true;
            description.part = value;
        } else if (keyed_value(line, "K2001", index, value)) {
            if (index != description.numbers.size() + 1)
                description.disordered = true;
            description.numbers.emplace_back(value);
        }
    }
    return description;
}

} // namespace kastrel::exporter
