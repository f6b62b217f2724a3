#pragma once

// The stand-in host's object paths. They are stateless: a path encodes which
// object it means, and the generation of the part program it was handed out
// for, so a reference into a closed or replaced program can be recognised.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vormesa_sim {

enum class ObjectType {
    Server,
    Application,
    PartProgram,
    Commands,
    Command,
    Feature,
    Point,
    Enumerator
};

struct ObjectAddress {
    ObjectType type = ObjectType::Server;
    std::uint64_t generation = 0; // part-program objects only
    std::size_t command = 0;      // 0-based index; Command, Feature, Point
    std::int64_t hit = 0;         // 1-based hit number; Point
    std::int32_t data_kind = 0;   // Point
    std::uint64_t enumerator = 0; // Enumerator

    bool operator==(const ObjectAddress&) const = default;
};

std::string object_path(const ObjectAddress& address);
// Nothing for paths that are not the host's objects.
std::optional<ObjectAddress> parse_object_path(std::string_view path);

// How the call log names the object: "Command#2", "Point#1.3.2", …
std::string role_name(const ObjectAddress& address);

} // namespace vormesa_sim
