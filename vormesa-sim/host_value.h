#pragma once

// Values and failures as the stand-in host hands them over, independent of
// the transport. The alternatives are in the order of the wire's kind byte.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace vormesa_sim {

struct NullValue {
    bool operator==(const NullValue&) const = default;
};
struct ObjectRef {
    std::string path; // "/" is no object
    bool operator==(const ObjectRef&) const = default;
};

// Empty, Null, Boolean, Int32, Double, Text, Object — index == wire ValueKind.
using Value =
    std::variant<std::monostate, NullValue, bool, std::int32_t, double, std::string, ObjectRef>;

struct Argument {
    Value value;
    bool by_ref = false;
    bool operator==(const Argument&) const = default;
};

struct InvokeResult {
    Value result;
    std::vector<Argument> args_after;
};

struct NextResult {
    bool more = false;
    Value item;
};

// A failure the host reports to its caller: HRESULT-style number and text.
class HostError : public std::runtime_error {
public:
    HostError(std::int32_t number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}

    // A failure of the link to the host rather than of its work, as when the
    // host has gone: the caller gets `number` as the call's own result, or on
    // the bus the error `bus_error` when one is named (`description` its
    // message there).
    static HostError link_failure(std::int32_t number, std::string bus_error = {},
                                  std::string description = {}) {
        HostError error(number, std::move(description));
        error.link_failure_ = true;
        error.bus_error_ = std::move(bus_error);
        return error;
    }

    std::int32_t number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }
    bool is_link_failure() const noexcept { return link_failure_; }
    const std::string& bus_error() const noexcept { return bus_error_; }

private:
    std::int32_t number_;
    std::string description_;
    bool link_failure_ = false;
    std::string bus_error_;
};

namespace host_error {
inline constexpr std::int32_t unknown_name = -2147352570;     // DISP_E_UNKNOWNNAME
inline constexpr std::int32_t type_mismatch = -2147352571;    // DISP_E_TYPEMISMATCH
inline constexpr std::int32_t bad_param_count = -2147352562;  // DISP_E_BADPARAMCOUNT
inline constexpr std::int32_t invalid_argument = -2147024809; // E_INVALIDARG
inline constexpr std::int32_t failed = -2147467259;           // E_FAIL
inline constexpr std::int32_t invalid_class = -2147221005;    // CO_E_CLASSSTRING
// Not the host's own: what its caller gets once the host's process is gone.
inline constexpr std::int32_t server_unavailable = -2147023174; // RPC_S_SERVER_UNAVAILABLE
// An object of a closed or replaced part program, disconnected from its clients.
inline constexpr std::int32_t disconnected = -2147417848; // RPC_E_DISCONNECTED
} // namespace host_error

// Doubles in shortest round-trip form ("1", "2.5"), as the call log writes them.
std::string format_double(double value);
// One argument as the call log writes it: by-ref marked with &, texts quoted.
std::string format_argument(const Argument& argument);

} // namespace vormesa_sim
