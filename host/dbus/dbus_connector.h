#pragma once

#include "host/connector.h"
#include "host/dbus/bus_connection.h"

namespace kastrel::host::dbus {

// Reaches the stand-in host over the session bus. The connection to the bus
// is opened on first use and kept; host objects are not.
class DbusConnector : public HostConnector {
public:
    DbusConnector() = default;

    Object create_object(std::string_view class_name) override;
    Object get_object(std::string_view path, std::string_view class_name) override;
    bool window_exists(std::string_view window_class) override;
    void set_call_wait(CallWait* wait) override;

private:
    BusConnection& bus();
    std::shared_ptr<BusConnection> bus_;
    CallWait* wait_ = nullptr;
};

} // namespace kastrel::host::dbus
