#include "vormesa-sim/object_path.h"

#include <charconv>
#include <vector>

namespace vormesa_sim {

namespace {

constexpr std::string_view root = "/ZORVAT";

std::vector<std::string_view> split(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const auto slash = path.find('/');
        parts.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
    return parts;
}

// Strict decimal: no sign, no leading zeros, so each object has one path.
template <class Number> std::optional<Number> number(std::string_view text) {
    if (text.empty() || (text.size() > 1 && text.front() == '0'))
        return std::nullopt;
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<ObjectAddress> parse_program_path(const std::vector<std::string_view>& parts,
                                                std::uint64_t generation) {
    ObjectAddress address;
    address.generation = generation;
    const auto of_type = [&address](ObjectType type) {
        address.type = type;
        return address;
    };
    const std::size_t count = parts.size();
    if (count == 0)
        return of_type(ObjectType::PartProgram);
    if (count == 1 && parts[0] == "commands")
        return of_type(ObjectType::Commands);
    if (parts[0] != "cmd" || count < 2)
        return std::nullopt;
    const auto command = number<std::size_t>(parts[1]);
    if (!command)
        return std::nullopt;
    address.command = *command;
    if (count == 2)
        return of_type(ObjectType::Command);
    if (count == 3 && parts[2] == "feature")
        return of_type(ObjectType::Feature);
    if (count == 5 && parts[2] == "hit") {
        const auto hit = number<std::int64_t>(parts[3]);
        const auto kind = number<std::int32_t>(parts[4]);
        if (!hit || !kind)
            return std::nullopt;
        address.hit = *hit;
        address.data_kind = *kind;
        return of_type(ObjectType::Point);
    }
    return std::nullopt;
}

} // namespace

std::string object_path(const ObjectAddress& address) {
    const std::string program = std::string(root) + "/pp/" + std::to_string(address.generation);
    const std::string command = program + "/cmd/" + std::to_string(address.command);
    switch (address.type) {
    case ObjectType::Server:
        return std::string(root);
    case ObjectType::Application:
        return std::string(root) + "/app";
    case ObjectType::PartProgram:
        return program;
    case ObjectType::Commands:
        return program + "/commands";
    case ObjectType::Command:
        return command;
    case ObjectType::Feature:
        return command + "/feature";
    case ObjectType::Point:
        return command + "/hit/" + std::to_string(address.hit) + "/" +
               std::to_string(address.data_kind);
    case ObjectType::Enumerator:
        return std::string(root) + "/enum/" + std::to_string(address.enumerator);
    }
    return std::string(root);
}

std::optional<ObjectAddress> parse_object_path(std::string_view path) {
    if (path == root)
        return ObjectAddress{};
    if (!path.starts_with(root) || path.size() == root.size() || path[root.size()] != '/')
        return std::nullopt;
    const auto parts = split(path.substr(root.size() + 1));
    if (parts.size() == 1 && parts[0] == "app")
        return ObjectAddress{.type = ObjectType::Application};
    if (parts.size() == 2 && parts[0] == "enum") {
        const auto id = number<std::uint64_t>(parts[1]);
        if (!id)
            return std::nullopt;
        return ObjectAddress{.type = ObjectType::Enumerator, .enumerator = *id};
    }
    if (parts.size() >= 2 && parts[0] == "pp") {
        const auto generation = number<std::uint64_t>(parts[1]);
        if (!generation)
            return std::nullopt;
        return parse_program_path({parts.begin() + 2, parts.end()}, *generation);
    }
    return std::nullopt;
}

std::string role_name(const ObjectAddress& address) {
    const std::string index = std::to_string(address.command);
    switch (address.type) {
    case ObjectType::Server:
        return "Server";
    case ObjectType::Application:
        return "Application";
    case ObjectType::PartProgram:
        return "PartProgram";
    case ObjectType::Commands:
        return "Commands";
    case ObjectType::Command:
        return "Command#" + index;
    case ObjectType::Feature:
        return "Feature#" + index;
    case ObjectType::Point:
        return "Point#" + index + "." + std::to_string(address.hit) + "." +
               std::to_string(address.data_kind);
    case ObjectType::Enumerator:
        return "Enumerator";
    }
    return "?";
}

} // namespace vormesa_sim
