#include "host/dbus/value_codec.h"

#include "common/dbus/protocol.h"
#include "host/automation_error.h"
#include "host/dbus/bus_connection.h"

#include <systemd/sd-bus.h>
#include <type_traits>

namespace kastrel::host::dbus {

using namespace common::dbus;

namespace {

constexpr const char* reading = "Antwort lesen";
constexpr const char* writing = "Argument schreiben";

template <typename T> void append_basic(sd_bus_message* m, char type, const T& value) {
    const char signature[2] = {type, '\0'};
    check(sd_bus_message_open_container(m, 'v', signature), writing);
    // Strings go by their own pointer, every other type by a pointer to it.
    if constexpr (std::is_same_v<T, const char*>)
        check(sd_bus_message_append_basic(m, type, value), writing);
    else
        check(sd_bus_message_append_basic(m, type, &value), writing);
    check(sd_bus_message_close_container(m), writing);
}

template <typename T> T read_basic(sd_bus_message* m, char type) {
    const char signature[2] = {type, '\0'};
    T value{};
    check(sd_bus_message_enter_container(m, 'v', signature), reading);
    check(sd_bus_message_read_basic(m, type, &value), reading);
    check(sd_bus_message_exit_container(m), reading);
    return value;
}

[[noreturn]] void malformed() {
    throw AutomationError(ErrorKind::UnexpectedValue);
}

} // namespace

void append_value(sd_bus_message* m, const Variant& value) {
    check(sd_bus_message_open_container(m, 'r', "yv"), writing);
    append_value_fields(m, value);
    check(sd_bus_message_close_container(m), writing);
}

void append_value_fields(sd_bus_message* m, const Variant& value) {
    const auto kind = static_cast<std::uint8_t>(value.kind());
    check(sd_bus_message_append_basic(m, 'y', &kind), writing);
    switch (value.kind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
        append_basic(m, 'b', 0);
        break;
    case Variant::Kind::Boolean:
        append_basic(m, 'b', std::get<bool>(value.raw()) ? 1 : 0);
        break;
    case Variant::Kind::Int32:
        append_basic(m, 'i', std::get<std::int32_t>(value.raw()));
        break;
    case Variant::Kind::Double:
        append_basic(m, 'd', std::get<double>(value.raw()));
        break;
    case Variant::Kind::Text:
        append_basic(m, 's', std::get<std::string>(value.raw()).c_str());
        break;
    case Variant::Kind::ObjectRef:
        throw AutomationError(ErrorKind::TypeMismatch);
    }
}

Variant read_value(sd_bus_message* m, const ObjectFactory& make_object) {
    check(sd_bus_message_enter_container(m, 'r', "yv"), reading);
    Variant value = read_value_fields(m, make_object);
    check(sd_bus_message_exit_container(m), reading);
    return value;
}

Variant read_value_fields(sd_bus_message* m, const ObjectFactory& make_object) {
    std::uint8_t kind = 0;
    check(sd_bus_message_read_basic(m, 'y', &kind), reading);
    Variant value;
    switch (static_cast<ValueKind>(kind)) {
    case ValueKind::Empty:
        read_basic<int>(m, 'b');
        break;
    case ValueKind::Null:
        read_basic<int>(m, 'b');
        value = Variant::null();
        break;
    case ValueKind::Boolean:
        value = Variant(read_basic<int>(m, 'b') != 0);
        break;
    case ValueKind::Int32:
        value = Variant(read_basic<std::int32_t>(m, 'i'));
        break;
    case ValueKind::Double:
        value = Variant(read_basic<double>(m, 'd'));
        break;
    case ValueKind::Text:
        value = Variant(std::string(read_basic<const char*>(m, 's')));
        break;
    case ValueKind::Object:
        value = Variant(make_object(read_basic<const char*>(m, 'o')));
        break;
    default:
        malformed();
    }
    return value;
}

} // namespace kastrel::host::dbus
