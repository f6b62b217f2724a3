#include "host/dbus/dbus_dispatch.h"

#include "common/dbus/protocol.h"
#include "common/non_copyable.h"
#include "host/automation_error.h"
#include "host/dbus/value_codec.h"

#include <systemd/sd-bus.h>

namespace kastrel::host::dbus {

using namespace common::dbus;

namespace {

class DbusEnumerator : public Enumerator, private common::NonCopyable {
public:
    DbusEnumerator(std::shared_ptr<BusConnection> bus, std::string path)
        : bus_(std::move(bus)), path_(std::move(path)) {}

    ~DbusEnumerator() override {
        // The host keeps the walk's position until it is released.
        try {
            bus_->call(path_.c_str(), enumerator_interface, "Release", {});
        } catch (const AutomationError&) {
        } catch (const RunCancelled&) {
            // Given up with the run it belonged to.
        }
    }

    std::optional<Variant> next() override {
        Message reply = bus_->call(path_.c_str(), enumerator_interface, "Next", {});
        int more = 0;
        check(sd_bus_message_read_basic(reply.get(), 'b', &more), "Next");
        Variant item = read_value(reply.get(), factory());
        if (!more)
            return std::nullopt;
        return item;
    }

private:
    ObjectFactory factory() const {
        return [bus = bus_](const std::string& path) { return make_object(bus, path); };
    }

    std::shared_ptr<BusConnection> bus_;
    std::string path_;
};

} // namespace

Object make_object(const std::shared_ptr<BusConnection>& bus, const std::string& path) {
    if (path == no_object_path)
        return nullptr;
    return std::make_shared<DbusDispatch>(bus, path);
}

DbusDispatch::DbusDispatch(std::shared_ptr<BusConnection> bus, std::string path)
    : bus_(std::move(bus)), path_(std::move(path)) {}

Variant DbusDispatch::get(std::string_view member) {
    const std::string name(member);
    Message reply = bus_->call(path_.c_str(), object_interface, "Get", [&](sd_bus_message* m) {
        check(sd_bus_message_append_basic(m, 's', name.c_str()), "Get");
    });
    return read_value(reply.get(),
                      [this](const std::string& path) { return make_object(bus_, path); });
}

Variant DbusDispatch::call(std::string_view member, std::span<Argument> args) {
    const std::string name(member);
    Message reply = bus_->call(path_.c_str(), object_interface, "Invoke", [&](sd_bus_message* m) {
        check(sd_bus_message_append_basic(m, 's', name.c_str()), "Invoke");
        check(sd_bus_message_open_container(m, 'a', argument_signature), "Invoke");
        for (const Argument& arg : args) {
            check(sd_bus_message_open_container(m, 'r', "yvb"), "Invoke");
            append_value_fields(m, arg.value);
            const int by_ref = arg.by_ref ? 1 : 0;
            check(sd_bus_message_append_basic(m, 'b', &by_ref), "Invoke");
            check(sd_bus_message_close_container(m), "Invoke");
        }
        check(sd_bus_message_close_container(m), "Invoke");
    });
    const ObjectFactory factory = [this](const std::string& path) {
        return make_object(bus_, path);
    };
    Variant result = read_value(reply.get(), factory);
    check(sd_bus_message_enter_container(reply.get(), 'a', argument_signature), "Invoke");
    for (Argument& arg : args) {
        check(sd_bus_message_enter_container(reply.get(), 'r', "yvb"), "Invoke");
        Variant after = read_value_fields(reply.get(), factory);
        int by_ref = 0;
        check(sd_bus_message_read_basic(reply.get(), 'b', &by_ref), "Invoke");
        check(sd_bus_message_exit_container(reply.get()), "Invoke");
        if (arg.by_ref)
            arg.value = std::move(after);
    }
    check(sd_bus_message_exit_container(reply.get()), "Invoke");
    return result;
}

std::unique_ptr<Enumerator> DbusDispatch::enumerate() {
    Message reply = bus_->call(path_.c_str(), object_interface, "NewEnum", {});
    const char* path = nullptr;
    check(sd_bus_message_read_basic(reply.get(), 'o', &path), "NewEnum");
    return std::make_unique<DbusEnumerator>(bus_, path);
}

} // namespace kastrel::host::dbus
