#pragma once

// The wire form of the host's automation object model on the D-Bus session
// bus. The stand-in host serves it, the Linux backend calls it. One member
// read or method call of the host is exactly one D-Bus method call.
//
// Values travel as "(yv)": a kind byte (ValueKind) and the value. Empty and
// null carry a boolean false. Objects are object paths; "/" is "no object".
//
// Object interface (every host object):
//   Get(s member) -> (yv)
//   Invoke(s member, a(yvb) args) -> (yv) result, a(yvb) args_after
//       args: value and by-reference flag; args_after echoes every argument
//       as it is after the call, so by-reference changes come back.
//   NewEnum() -> o             the collection's enumerator
// Enumerator interface:
//   Next() -> (b more, (yv) item)
//   Release() -> ()
// Server interface on the root path:
//   CreateObject(s class_name) -> o
//   GetObject(s path, s class_name) -> o
//
// A host failure is the D-Bus error `error_name` whose message is
// "<number> <description>", the number in decimal. A call on an object of a
// part program that has been closed or replaced since is the error
// `disconnected_error_name`, as a COM server answers RPC_E_DISCONNECTED for
// an object it has disconnected from its clients.
//
// The host's main window of class C is shown by owning the bus name
// `window_name_prefix` + C while the window exists.

#include <cstdint>
#include <string_view>

namespace kastrel::common::dbus {

inline constexpr const char* service_name = "ZORVAT.Application";
inline constexpr const char* root_path = "/ZORVAT";
inline constexpr const char* no_object_path = "/";
inline constexpr const char* server_interface = "ZORVAT.Server";
inline constexpr const char* object_interface = "ZORVAT.Dispatch";
inline constexpr const char* enumerator_interface = "ZORVAT.Enumerator";
inline constexpr const char* error_name = "ZORVAT.Error.Automation";
inline constexpr const char* disconnected_error_name = "ZORVAT.Error.Disconnected";
inline constexpr std::string_view window_name_prefix = "ZORVAT.Window.";

inline constexpr const char* value_signature = "(yv)";
inline constexpr const char* argument_signature = "(yvb)";

enum class ValueKind : std::uint8_t {
    Empty = 0,
    Null = 1,
    Boolean = 2,
    Int32 = 3,
    Double = 4,
    Text = 5,
    Object = 6
};

} // namespace kastrel::common::dbus
