#include "vormesa-sim/dbus_value_codec.h"

#include "common/dbus/protocol.h"

#include <cerrno>

namespace vormesa_sim {

namespace {

using kastrel::common::dbus::ValueKind;

std::uint8_t kind_byte(const Value& value) {
    return static_cast<std::uint8_t>(value.index());
}

// Appends the "yv" members of an open structure.
int append_kind_and_variant(sd_bus_message* message, const Value& value) {
    const std::uint8_t kind = kind_byte(value);
    return std::visit(
        [&](const auto& v) -> int {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate> || std::is_same_v<T, NullValue>)
                return sd_bus_message_append(message, "yv", kind, "b", 0);
            else if constexpr (std::is_same_v<T, bool>)
                return sd_bus_message_append(message, "yv", kind, "b", v ? 1 : 0);
            else if constexpr (std::is_same_v<T, std::int32_t>)
                return sd_bus_message_append(message, "yv", kind, "i", v);
            else if constexpr (std::is_same_v<T, double>)
                return sd_bus_message_append(message, "yv", kind, "d", v);
            else if constexpr (std::is_same_v<T, std::string>)
                return sd_bus_message_append(message, "yv", kind, "s", v.c_str());
            else
                return sd_bus_message_append(message, "yv", kind, "o", v.path.c_str());
        },
        value);
}

// Reads the "yv" members of an entered structure.
int read_kind_and_variant(sd_bus_message* message, Value& value) {
    std::uint8_t kind = 0;
    int r = sd_bus_message_read_basic(message, 'y', &kind);
    if (r < 0)
        return r;
    const char* contents = nullptr;
    r = sd_bus_message_peek_type(message, nullptr, &contents);
    if (r < 0)
        return r;
    const std::string_view type = contents ? contents : "";
    auto expect = [&](std::string_view wanted) { return type == wanted ? 0 : -EINVAL; };
    switch (static_cast<ValueKind>(kind)) {
    case ValueKind::Empty:
        value = std::monostate{};
        return sd_bus_message_skip(message, "v");
    case ValueKind::Null:
        value = NullValue{};
        return sd_bus_message_skip(message, "v");
    case ValueKind::Boolean: {
        int b = 0;
        if ((r = expect("b")) < 0 || (r = sd_bus_message_read(message, "v", "b", &b)) < 0)
            return r;
        value = b != 0;
        return 0;
    }
    case ValueKind::Int32: {
        std::int32_t i = 0;
        if ((r = expect("i")) < 0 || (r = sd_bus_message_read(message, "v", "i", &i)) < 0)
            return r;
        value = i;
        return 0;
    }
    case ValueKind::Double: {
        double d = 0;
        if ((r = expect("d")) < 0 || (r = sd_bus_message_read(message, "v", "d", &d)) < 0)
            return r;
        value = d;
        return 0;
    }
    case ValueKind::Text: {
        const char* s = nullptr;
        if ((r = expect("s")) < 0 || (r = sd_bus_message_read(message, "v", "s", &s)) < 0)
            return r;
        value = std::string(s);
        return 0;
    }
    case ValueKind::Object: {
        const char* o = nullptr;
        if ((r = expect("o")) < 0 || (r = sd_bus_message_read(message, "v", "o", &o)) < 0)
            return r;
        value = ObjectRef{o};
        return 0;
    }
    }
    return -EINVAL;
}

} // namespace

int append_value(sd_bus_message* message, const Value& value) {
    int r = sd_bus_message_open_container(message, 'r', "yv");
    if (r < 0 || (r = append_kind_and_variant(message, value)) < 0)
        return r;
    return sd_bus_message_close_container(message);
}

int append_arguments(sd_bus_message* message, const std::vector<Argument>& args) {
    int r = sd_bus_message_open_container(message, 'a', "(yvb)");
    if (r < 0)
        return r;
    for (const Argument& arg : args) {
        if ((r = sd_bus_message_open_container(message, 'r', "yvb")) < 0 ||
            (r = append_kind_and_variant(message, arg.value)) < 0 ||
            (r = sd_bus_message_append(message, "b", arg.by_ref ? 1 : 0)) < 0 ||
            (r = sd_bus_message_close_container(message)) < 0)
            return r;
    }
    return sd_bus_message_close_container(message);
}

int read_arguments(sd_bus_message* message, std::vector<Argument>& args) {
    int r = sd_bus_message_enter_container(message, 'a', "(yvb)");
    if (r < 0)
        return r;
    while ((r = sd_bus_message_enter_container(message, 'r', "yvb")) > 0) {
        Argument arg;
        int by_ref = 0;
        if ((r = read_kind_and_variant(message, arg.value)) < 0 ||
            (r = sd_bus_message_read_basic(message, 'b', &by_ref)) < 0 ||
            (r = sd_bus_message_exit_container(message)) < 0)
            return r;
        arg.by_ref = by_ref != 0;
        args.push_back(std::move(arg));
    }
    if (r < 0)
        return r;
    return sd_bus_message_exit_container(message);
}

} // namespace vormesa_sim
