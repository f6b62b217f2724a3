#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kastrel::host {

// A failure reported by the host's automation server (or by the automation
// layer itself): the number and the description the user gets to see.
class AutomationError : public std::runtime_error {
public:
    AutomationError(std::int32_t number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}

    std::int32_t number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }

private:
    std::int32_t number_;
    std::string description_;
};

// Numbers the automation layer raises itself; they follow the host platform's
// own run-time error numbers so the error box reads the same everywhere.
namespace error_number {
inline constexpr std::int32_t type_mismatch = 13;
inline constexpr std::int32_t object_not_set = 91;
inline constexpr std::int32_t invalid_use_of_null = 94;
inline constexpr std::int32_t object_required = 424;
inline constexpr std::int32_t cannot_create_object = 429;
inline constexpr std::int32_t unknown_member = 438;
// The host's server went away (its process ended or stopped answering).
inline constexpr std::int32_t host_unavailable = static_cast<std::int32_t>(0x800706BA);
inline constexpr std::int32_t host_disconnected = static_cast<std::int32_t>(0x80010108);
} // namespace error_number

inline bool is_host_lost(const AutomationError& error) {
    return error.number() == error_number::host_unavailable ||
           error.number() == error_number::host_disconnected;
}

} // namespace kastrel::host
