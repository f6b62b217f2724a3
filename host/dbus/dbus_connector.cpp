#include "host/dbus/dbus_connector.h"

#include "common/dbus/protocol.h"
#include "host/automation_error.h"
#include "host/dbus/dbus_dispatch.h"

#include <systemd/sd-bus.h>

namespace kastrel::host::dbus {

using namespace common::dbus;

namespace {

// The server could not be reached or refused: what a COM client gets. What
// the bus or the server said stays with it as its detail.
[[noreturn]] void cannot_create(const std::string& class_name, const AutomationError& cause) {
    std::string detail = cause.detail();
    if (!cause.description().empty())
        detail = std::to_string(cause.number()) + " " + cause.description();
    throw AutomationError(ErrorKind::CannotCreate, class_name, detail);
}

} // namespace

BusConnection& DbusConnector::bus() {
    if (!bus_) {
        bus_ = std::make_shared<BusConnection>();
        bus_->set_call_wait(wait_);
    }
    return *bus_;
}

void DbusConnector::set_call_wait(CallWait* wait) {
    wait_ = wait;
    if (bus_)
        bus_->set_call_wait(wait);
}

Object DbusConnector::server_object(const char* method, const std::string& class_name,
                                    const BusConnection::Writer& write) {
    try {
        Message reply = bus().call(root_path, server_interface, method, write);
        const char* path = nullptr;
        check(sd_bus_message_read_basic(reply.get(), 'o', &path), method);
        return make_object(bus_, path);
    } catch (const AutomationError& error) {
        if (error.kind() == ErrorKind::CannotCreate)
            throw;
        cannot_create(class_name, error);
    }
}

Object DbusConnector::create_object(std::string_view class_name) {
    const std::string name(class_name);
    return server_object("CreateObject", name, [&](sd_bus_message* m) {
        check(sd_bus_message_append_basic(m, 's', name.c_str()), "CreateObject");
    });
}

Object DbusConnector::get_object(std::string_view path, std::string_view class_name) {
    const std::string object_path(path);
    const std::string name(class_name);
    return server_object("GetObject", name, [&](sd_bus_message* m) {
        check(sd_bus_message_append(m, "ss", object_path.c_str(), name.c_str()), "GetObject");
    });
}

bool DbusConnector::window_exists(std::string_view window_class) {
    return bus().name_has_owner(std::string(window_name_prefix) + std::string(window_class));
}

} // namespace kastrel::host::dbus
