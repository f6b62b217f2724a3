#include "vormesa-sim/host_value.h"

#include <array>
#include <charconv>

namespace vormesa_sim {

std::string format_double(double value) {
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string("?");
}

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

struct ValueFormatter {
    std::string operator()(std::monostate) const { return "Empty"; }
    std::string operator()(NullValue) const { return "Null"; }
    std::string operator()(bool value) const { return value ? "true" : "false"; }
    std::string operator()(std::int32_t value) const { return std::to_string(value); }
    std::string operator()(double value) const { return format_double(value); }
    std::string operator()(const std::string& value) const { return quoted(value); }
    std::string operator()(const ObjectRef& value) const { return value.path; }
};

} // namespace

std::string format_argument(const Argument& argument) {
    return (argument.by_ref ? "&" : "") + std::visit(ValueFormatter{}, argument.value);
}

} // namespace vormesa_sim
