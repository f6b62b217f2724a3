#include "export/aqdef/aqdef_text.h"

#include "export/aqdef/windows_1252.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace kastrel::exporter {
namespace {

constexpr char field_separator = 0x14;
constexpr char characteristic_separator = 0x0F;
// The attribute of a value that was measured, and of one that is missing.
constexpr const char* measured = "0";
constexpr const char* missing = "255";

void add_line(std::string& lines, std::string_view key, std::size_t index, std::string_view value) {
    lines += key;
    lines += '/';
    lines += std::to_string(index);
    lines += ' ';
    lines += value;
    lines += "\r\n";
}

} // namespace

std::string aqdef_number(double value) {
    if (value == 0)
        return "0"; // no "-0"
    std::array<char, 400> text{};
    const auto [end, error] =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc())
        return {};
    return std::string(text.data(), end);
}

std::string aqdef_time(const std::tm& time) {
    char text[80]; // room for any int, though the fields have two or four digits
    std::snprintf(text, sizeof text, "%02d.%02d.%04d/%02d:%02d:%02d", time.tm_mday, time.tm_mon + 1,
                  time.tm_year + 1900, time.tm_hour, time.tm_min, time.tm_sec);
    return text;
}

std::string description_lines(std::string_view part, const std::vector<Characteristic>& all) {
    std::string lines = "K0100 " + std::to_string(all.size()) + "\r\n";
    lines += "K1001/1 " + to_windows_1252(part) + "\r\n";
    for (std::size_t k = 0; k < all.size(); ++k) {
        const Characteristic& c = all[k];
        const std::size_t i = k + 1;
        add_line(lines, "K2001", i, to_windows_1252(c.number));
        add_line(lines, "K2002", i, to_windows_1252(c.description));
        add_line(lines, "K2004", i, "0");
        add_line(lines, "K2022", i, "4");
        if (c.nominal && std::isfinite(*c.nominal))
            add_line(lines, "K2101", i, aqdef_number(*c.nominal));
        add_line(lines, "K2142", i, "mm");
    }
    return lines;
}

std::string value_line(const std::vector<Characteristic>& all, const std::tm& began) {
    const std::string time = aqdef_time(began);
    std::string line;
    line.reserve(all.size() * (time.size() + 16));
    for (std::size_t k = 0; k < all.size(); ++k) {
        if (k > 0)
            line += characteristic_separator;
        const std::optional<double>& value = all[k].value;
        const bool known = value && std::isfinite(*value);
        if (known)
            line += aqdef_number(*value);
        line += field_separator;
        line += known ? measured : missing;
        line += field_separator;
        line += time;
    }
    line += "\r\n";
    return line;
}

} // namespace kastrel::exporter
