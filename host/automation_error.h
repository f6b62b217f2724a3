#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace kastrel::host {

// Numbers the automation layer raises itself; they follow the host platform's
// own run-time error numbers so the error box reads the same everywhere.
namespace error_number {
inline constexpr std::int32_t type_mismatch = 13;
inline constexpr std::int32_t object_not_set = 91;
inline constexpr std::int32_t invalid_use_of_null = 94;
inline constexpr std::int32_t object_required = 424;
inline constexpr std::int32_t cannot_create_object = 429;
// The platform's codes for a member it does not know, and for a call that failed.
inline constexpr std::int32_t unknown_name = static_cast<std::int32_t>(0x80020006);
inline constexpr std::int32_t failed = static_cast<std::int32_t>(0x80004005);
// A value arrived that the transport cannot read.
inline constexpr std::int32_t unexpected_value = type_mismatch;
// The host's server went away or cannot be reached (its process ended, the
// link to it broke, or it stopped answering): RPC_S_SERVER_UNAVAILABLE is also
// what the Linux backend reports for every such bus error.
inline constexpr std::int32_t host_unavailable = static_cast<std::int32_t>(0x800706BA);
inline constexpr std::int32_t host_call_failed = static_cast<std::int32_t>(0x800706BE);
inline constexpr std::int32_t host_call_failed_not_executed = static_cast<std::int32_t>(0x800706BF);
inline constexpr std::int32_t host_died = static_cast<std::int32_t>(0x80010007);
inline constexpr std::int32_t host_died_not_executed = static_cast<std::int32_t>(0x80010012);
inline constexpr std::int32_t host_object_not_connected = static_cast<std::int32_t>(0x800401FD);
inline constexpr std::int32_t host_disconnected = static_cast<std::int32_t>(0x80010108);
} // namespace error_number

// What went wrong in a call into the host. The user's text for each kind is
// worded by the application, not here.
enum class ErrorKind {
    Host,             // the host's server said so: its number and its own description
    System,           // a call failed with the system's code as number, no text from the host
    TypeMismatch,     // a value of the wrong type
    InvalidUseOfNull, // a null value where a value is needed
    ObjectRequired,   // a value where an object is needed
    ObjectNotSet,     // no object where one is needed; name(): the member that gave none
    CannotCreate,     // the host's application object cannot be created; name(): its class
    UnknownName,      // the host does not know the member name()
    UnexpectedValue,  // a value the transport cannot read
};

// A failed call into the host, as a value: its kind, the number it goes by,
// what it concerns, and the technical detail behind it.
class AutomationError : public std::runtime_error {
public:
    // A failure the host reported, with its own number and description.
    AutomationError(std::int32_t number, std::string description);
    // A failure this program's layers raise, under the kind's own number.
    explicit AutomationError(ErrorKind kind, std::string name = {}, std::string detail = {});
    // The same under a number of the failed call's own (a system code).
    AutomationError(ErrorKind kind, std::int32_t number, std::string name, std::string detail);

    ErrorKind kind() const noexcept { return kind_; }
    std::int32_t number() const noexcept { return number_; }
    // The host's own description; empty unless the host gave one.
    const std::string& description() const noexcept { return description_; }
    // The member or class the failure concerns, where the kind names one.
    const std::string& name() const noexcept { return name_; }
    // What the transport or the system said, for the log; never shown to the user.
    const std::string& detail() const noexcept { return detail_; }

private:
    ErrorKind kind_;
    std::int32_t number_;
    std::string description_;
    std::string name_;
    std::string detail_;
};

// The numbers by which a call tells that the host is gone or unreachable.
inline constexpr std::array<std::int32_t, 7> host_lost_numbers = {
    error_number::host_unavailable,
    error_number::host_call_failed,
    error_number::host_call_failed_not_executed,
    error_number::host_died,
    error_number::host_died_not_executed,
    error_number::host_object_not_connected,
    error_number::host_disconnected,
};

// Whether the failure means the host is gone or cannot be reached: every
// call after it would fail too. The one place that decides it.
inline bool is_host_lost(const AutomationError& error) {
    return std::find(host_lost_numbers.begin(), host_lost_numbers.end(), error.number()) !=
           host_lost_numbers.end();
}

// Of those, whether the object called was disconnected from its clients: the
// host still runs, but the part program the object belonged to has been
// closed or replaced.
inline bool is_disconnected(const AutomationError& error) {
    return error.number() == error_number::host_object_not_connected ||
           error.number() == error_number::host_disconnected;
}

} // namespace kastrel::host
